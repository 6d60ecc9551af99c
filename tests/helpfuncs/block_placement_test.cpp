// Block placement against a stand-in project: the blocks of a chart hierarchy with their
// run-sequence places, the three stable sorts, and moves into another processing group read back
// from the run sequence.
#include <cstring>
#include <stdexcept>

#include "grx/w5lhlpax.h"
#include "foundation/exceptions.h"
#include "opendata/open_data_exception.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;

class BlockPlacementTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1", "type": "DINT"},
                                                                         {"name": "OUT", "direction": "out", "type": "DINT"}]}],
      "charts": [{"name": "C", "blocks": [{"name": "A1", "type": "ADD"}, {"name": "A2", "type": "ADD"},
                                          {"name": "A3", "type": "ADD"}],
                  "charts": [{"name": "S", "blocks": [{"name": "S1", "type": "ADD"}]}]},
                 {"name": "L", "blocks": [{"name": "L1", "type": "ADD"}, {"name": "Loose", "type": "ADD"},
                                          {"name": "L2", "type": "ADD"}]},
                 {"name": "D", "blocks": [{"name": "D1", "type": "ADD"}]}],
      "tasks": [{"name": "T1", "groups": [{"name": "G1", "members": ["C/A2", "C/A1"]},
                                          {"name": "G2", "members": ["C/A3", "C/S/S1"]}]},
                {"name": "T2", "groups": [{"name": "GD", "members": ["D/D1"]}, {"name": "GE", "members": ["L/L1", "L/L2"]},
                                          {"name": "GF"}]}]}]})");
  }

  std::vector<std::string> Members(const std::string& group) {
    GlObjectId member = 0;
    GlObjectType type = IEC_OBJ_NULL;
    return Paths(Collect(
        [&](MODE mode) { return db.iec_ProcessingGroupBlocksGet(mode, IEC_SELECT_ALL, Id(group), member, type, kTr); },
        member));
  }

  std::vector<MoveBlockInfoT> Search(const std::string& chart) {
    std::vector<MoveBlockInfoT> blocks;
    EXPECT_TRUE(W5GRX_SearchMoveBlocks(Id(chart), blocks, kTr));
    return blocks;
  }

  MoveBlockInfoT Find(const std::vector<MoveBlockInfoT>& blocks, const std::string& path) {
    for (const MoveBlockInfoT& b : blocks) {
      if (b.blockId == Id(path)) return b;
    }
    ADD_FAILURE() << path << " not gathered";
    return {};
  }

  std::vector<std::string> BlockPaths(const std::vector<MoveBlockInfoT>& blocks) {
    std::vector<std::string> paths;
    for (const MoveBlockInfoT& b : blocks) paths.push_back(PathOf(b.blockId));
    return paths;
  }
};

MoveBlockInfoT Info(GlObjectId id, std::int16_t blockPos, std::int16_t grPos = 0, const char* tpName = "") {
  MoveBlockInfoT info;
  info.blockId = id;
  info.blockPos = blockPos;
  info.grPos = grPos;
  std::snprintf(info.tpName, sizeof info.tpName, "%s", tpName);
  return info;
}

std::vector<GlObjectId> Ids(const std::vector<MoveBlockInfoT>& blocks) {
  std::vector<GlObjectId> ids;
  for (const MoveBlockInfoT& b : blocks) ids.push_back(b.blockId);
  return ids;
}

TEST_F(BlockPlacementTest, SearchGathersBlocksWithTheirPlacesDepthFirst) {
  const auto blocks = Search("R/C");
  EXPECT_THAT(BlockPaths(blocks), ElementsAre("R/C/A1", "R/C/A2", "R/C/A3", "R/C/S/S1"));
  const MoveBlockInfoT a1 = Find(blocks, "R/C/A1");
  EXPECT_EQ(a1.procGroupId, Id("R/#T1/G1"));
  EXPECT_EQ(a1.blockPos, 2);
  EXPECT_EQ(a1.grPos, 1);
  EXPECT_STREQ(a1.tpName, "T1");
  const MoveBlockInfoT s1 = Find(blocks, "R/C/S/S1");
  EXPECT_EQ(s1.procGroupId, Id("R/#T1/G2"));
  EXPECT_EQ(s1.blockPos, 2);
  EXPECT_EQ(s1.grPos, 2);
  // A block that runs nowhere ends the search in its chart; what was gathered stays.
  EXPECT_THAT(BlockPaths(Search("R/L")), ElementsAre("R/L/L1"));
  // Appended to what the vector held.
  std::vector<MoveBlockInfoT> more = Search("R/D");
  EXPECT_TRUE(W5GRX_SearchMoveBlocks(Id("R/L"), more, kTr));
  EXPECT_THAT(BlockPaths(more), ElementsAre("R/D/D1", "R/L/L1"));
}

TEST_F(BlockPlacementTest, FailedBlockListingRaisesWithItsPlace) {
  ASSERT_EQ(db.InjectFault("iec_CfcBlocksGet", 0x781, 2, 1), 0);
  std::vector<MoveBlockInfoT> blocks;
  try {
    W5GRX_SearchMoveBlocks(Id("R/C"), blocks, kTr);
    ADD_FAILURE();
  } catch (const OpenData::COpenDataException& e) {
    EXPECT_EQ(e.GetMessage(), "OPEN-DATA exception: iec_CfcBlocksGet failed.");
    EXPECT_EQ(e.GetFile(), ".\\HelpFunc");
    EXPECT_EQ(e.GetLine(), 3266u);
  }
  EXPECT_EQ(blocks.size(), 1u); // the block delivered before the failure
}

TEST_F(BlockPlacementTest, SortsAreStableAndAscending) {
  std::vector<MoveBlockInfoT> blocks{Info(1, 3), Info(2, 1), Info(3, 2), Info(4, 1)};
  EXPECT_TRUE(W5GRX_SortBlock(blocks));
  EXPECT_THAT(Ids(blocks), ElementsAre(2u, 4u, 3u, 1u)); // the two 1s in the order they stood

  blocks = {Info(1, 0), Info(2, static_cast<std::int16_t>(0x8000)), Info(3, -1)};
  W5GRX_SortBlock(blocks);
  EXPECT_THAT(Ids(blocks), ElementsAre(2u, 3u, 1u)); // 0x8000 is the smallest

  blocks = {Info(1, 0, 5), Info(2, 0, 3), Info(3, 0, 5), Info(4, 0, 3)};
  EXPECT_TRUE(W5GRX_SortGrPos(blocks));
  EXPECT_THAT(Ids(blocks), ElementsAre(2u, 4u, 1u, 3u));

  blocks = {Info(1, 0, 0, "T2"), Info(2, 0, 0, "t1"), Info(3, 0, 0, "T10"), Info(4, 0, 0, "T2")};
  EXPECT_TRUE(W5GRX_SortTpName(blocks));
  EXPECT_THAT(Ids(blocks), ElementsAre(3u, 1u, 4u, 2u)); // T10 before T2, upper case before lower

  // Task names that fill the field carry no terminator: they are compared within it, and equal
  // ones keep their order.
  MoveBlockInfoT full5 = Info(5, 0, 0), full6 = Info(6, 0, 0);
  std::memset(full5.tpName, 'T', sizeof full5.tpName);
  std::memset(full6.tpName, 'T', sizeof full6.tpName);
  blocks = {full6, full5};
  EXPECT_TRUE(W5GRX_SortTpName(blocks));
  EXPECT_THAT(Ids(blocks), ElementsAre(6u, 5u));
  blocks = {full5, full6};
  EXPECT_TRUE(W5GRX_SortTpName(blocks));
  EXPECT_THAT(Ids(blocks), ElementsAre(5u, 6u));

  std::vector<MoveBlockInfoT> none;
  EXPECT_TRUE(W5GRX_SortBlock(none));
  std::vector<MoveBlockInfoT> one{Info(9, 4)};
  EXPECT_TRUE(W5GRX_SortTpName(one));
  EXPECT_THAT(Ids(one), ElementsAre(9u));
}

TEST_F(BlockPlacementTest, LastBlockOfAGroup) {
  GlObjectId last = 0;
  EXPECT_TRUE(W5GRX_GetLastBlockPos(Id("R/#T2/GE"), last, kTr));
  EXPECT_EQ(PathOf(last), "R/L/L2");
  last = 0;
  EXPECT_TRUE(W5GRX_GetLastBlockPos(Id("R/#T2/GF"), last, kTr));
  EXPECT_EQ(last, 0u); // an empty group leaves the caller's zero
}

TEST_F(BlockPlacementTest, MovesFollowTheLastMemberOfTheDestination) {
  std::vector<MoveBlockInfoT> blocks{Find(Search("R/C"), "R/C/A1")};
  EXPECT_TRUE(W5GRX_MoveBlocks(blocks, Id("R/#T2/GD"), kTr));
  EXPECT_THAT(Members("R/#T2/GD"), ElementsAre("R/D/D1", "R/C/A1"));
  EXPECT_THAT(Members("R/#T1/G1"), ElementsAre("R/C/A2"));
  // Into an empty group: the block starts its run sequence.
  blocks = {Find(Search("R/C"), "R/C/A2")};
  EXPECT_TRUE(W5GRX_MoveBlocks(blocks, Id("R/#T2/GF"), kTr));
  EXPECT_THAT(Members("R/#T2/GF"), ElementsAre("R/C/A2"));
  // A block that is no longer where the list says: the move fails and nothing changes.
  EXPECT_FALSE(W5GRX_MoveBlocks(blocks, Id("R/#T2/GD"), kTr));
  EXPECT_THAT(Members("R/#T2/GD"), ElementsAre("R/D/D1", "R/C/A1"));
}

TEST_F(BlockPlacementTest, GroupByGroupMovesKeepTheRunOrder) {
  const auto found = Search("R/C");
  // Group places 2, 1, 2: sorted to 1, 2, 2, moved in two batches, each in block order.
  std::vector<MoveBlockInfoT> blocks{Find(found, "R/C/S/S1"), Find(found, "R/C/A1"), Find(found, "R/C/A3")};
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_TRUE(W5GRX_GetGroupPos(blocks, Id("R/#T2/GD"), kTr));
  EXPECT_EQ(db.CallCount("gl_RunSeqElemsMove"), 2u);
  EXPECT_THAT(BlockPaths(blocks), ElementsAre("R/C/A1", "R/C/S/S1", "R/C/A3")); // sorted by group place
  EXPECT_THAT(Members("R/#T2/GD"), ElementsAre("R/D/D1", "R/C/A1", "R/C/A3", "R/C/S/S1"));
  EXPECT_THAT(Members("R/#T1/G1"), ElementsAre("R/C/A2"));
  EXPECT_TRUE(Members("R/#T1/G2").empty());

  // One element is moved as it is.
  std::vector<MoveBlockInfoT> one{Find(Search("R/C"), "R/C/A2")};
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_TRUE(W5GRX_GetGroupPos(one, Id("R/#T2/GF"), kTr));
  EXPECT_EQ(db.CallCount("gl_RunSeqElemsMove"), 1u);
  EXPECT_THAT(Members("R/#T2/GF"), ElementsAre("R/C/A2"));

  std::vector<MoveBlockInfoT> none;
  EXPECT_THROW(W5GRX_GetGroupPos(none, Id("R/#T2/GF"), kTr), std::out_of_range);
}

// A damaged project whose charts contain each other (C holds S, S holds U, and U holds C again):
// the walks up to a root chart and down through sub-charts stop where they come back.
TEST_F(StandInTest, ChartsThatContainEachOtherEndEveryWalk) {
  const std::string json = R"({"controllers": [{"name": "R",
    "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1", "type": "DINT"},
                                                                       {"name": "OUT", "direction": "out", "type": "DINT"}]}],
    "globals": [{"name": "g", "type": "DINT"}],
    "charts": [{"name": "C", "blocks": [{"name": "A", "type": "ADD"}],
                "charts": [{"name": "S", "charts": [{"name": "U", "blocks": [{"name": "B", "type": "ADD"}]}]}]}],
    "tasks": [{"name": "T1", "groups": [{"name": "G", "members": ["C/A", "C/S/U/B"]}]}],
    "connections": [{"from": "@g", "to": "C/S/U/B.IN1"}]}]})";
  Load(json);
  const GlObjectId c = Id("R/C"), u = Id("R/C/S/U"), a = Id("R/C/A"), b = Id("R/C/S/U/B"), in1 = Id("R/C/S/U/B.IN1");
  const GlObjectId g = Id("R/@g");
  db.CloseProject();
  LoadDamaged(json, "UPDATE object SET parent = " + std::to_string(u) + " WHERE id = " + std::to_string(c));
  ASSERT_EQ(Id("R/@g"), g);                 // the same objects under the same identifiers
  EXPECT_EQ(db.Path(b).rfind("0x", 0), 0u); // a path that goes round is no path

  GlObjectId chart = 0x5A;
  EXPECT_FALSE(W5GRX_RootPlanFromVarOrBlock(in1, chart, kTr));
  EXPECT_FALSE(W5GRX_RootPlanFromVarOrBlock(a, chart, kTr));

  std::vector<MoveBlockInfoT> blocks;
  EXPECT_TRUE(W5GRX_SearchMoveBlocks(c, blocks, kTr));
  std::vector<GlObjectId> found;
  for (const MoveBlockInfoT& info : blocks) found.push_back(info.blockId);
  EXPECT_THAT(found, ::testing::UnorderedElementsAre(a, b)); // each block once

  std::string location, rootName;
  GlObjectId root = 0;
  EXPECT_THROW(W5GRX_FindSinksOrSources(in1, "IN1", location, root, rootName), ZEB::CException);
  EXPECT_EQ(location, "");
}

} // namespace
} // namespace grx::testing
