// The iteration protocol of every listing function: 0 delivered, 166 delivered the last, 36
// nothing; positions kept per cursor or per thread, function and parent.
#include <thread>

#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class IterationTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(SmallProjectJson());
  }
};

TEST_F(IterationTest, ChartBlocksByFilterInPlacementOrder) {
  EXPECT_THAT(Paths(Blocks("R/C1")), ElementsAre("R/C1/A1", "R/C1/F1", "R/C1/S1", "R/C1/S2"));
  EXPECT_THAT(Paths(Blocks("R/C1", IEC_SELECT_IS_CFC)), ElementsAre("R/C1/S1", "R/C1/S2"));
  EXPECT_THAT(Paths(Blocks("R/C1", IEC_SELECT_IS_FUNCTION_BLOCK)), ElementsAre("R/C1/F1"));
  EXPECT_THAT(Paths(Blocks("R/C1", IEC_SELECT_IS_FUNCTION)), ElementsAre("R/C1/A1"));
  EXPECT_THAT(Blocks("R/C2"), IsEmpty());
}

TEST_F(IterationTest, ErrorIdsEmptyOneMany) {
  std::vector<std::uint32_t> codes;
  GlObjectId iter = 0, block = 0;
  GlObjectType type = IEC_OBJ_NULL;
  const GlObjectId c2 = Id("R/C2"), s1 = Id("R/C1/S1"), c1 = Id("R/C1");
  Collect([&](MODE m) { return db.iec_CfcBlocksGet(m, 0, c2, iter, block, type, kTr); }, block, &codes);
  EXPECT_THAT(codes, ElementsAre(GL_ERR_NO_MORE_ELEMENTS));
  codes.clear();
  iter = 0;
  Collect([&](MODE m) { return db.iec_CfcBlocksGet(m, 0, s1, iter, block, type, kTr); }, block, &codes);
  EXPECT_THAT(codes, ElementsAre(GL_ERR_LAST_ELEMENT));
  EXPECT_EQ(type, IEC_OBJ_CFC);
  codes.clear();
  iter = 0;
  Collect([&](MODE m) { return db.iec_CfcBlocksGet(m, 0, c1, iter, block, type, kTr); }, block, &codes);
  EXPECT_THAT(codes, ElementsAre(0u, 0u, 0u, GL_ERR_LAST_ELEMENT));
  // One more M_NEXT after the last element finds nothing.
  EXPECT_EQ(Err(db.iec_CfcBlocksGet(M_NEXT, 0, c1, iter, block, type, kTr)), GL_ERR_NO_MORE_ELEMENTS);
}

TEST_F(IterationTest, EveryListingFunction) {
  const GlObjectId r = Id("R"), t1 = Id("R/#T1"), g1 = Id("R/#T1/G1"), a1 = Id("R/C1/A1");
  GlObjectId out = 0;
  GlObjectType type = IEC_OBJ_NULL;
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_TasksGet(m, r, out, kTr); }, out)),
              ElementsAre("R/#T1", "R/#T9"));
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_TaskElementsGet(m, 7, t1, out, type, kTr); }, out)),
              ElementsAre("R/#T1/G1", "R/#T1/G2"));
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_ProcessingGroupBlocksGet(m, 0, g1, out, type, kTr); }, out)),
              ElementsAre("R/C1/A1", "R/C1/S1"));
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_ChartsGet(m, 8, r, out, type, kTr); }, out)),
              ElementsAre("R/C1", "R/C2"));
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_GlobalVarsGet(m, r, out, kTr); }, out)),
              ElementsAre("R/@gA", "R/@gB"));
  EXPECT_THAT(Paths(Vars("R/C1/A1")), ElementsAre("R/C1/A1.IN1", "R/C1/A1.IN2", "R/C1/A1.OUT"));
  EXPECT_THAT(Paths(Vars("R/C1/A1", IEC_SELECT_IS_OUT_VAR)), ElementsAre("R/C1/A1.OUT"));
  EXPECT_THAT(Paths(Vars("R/C1")), ElementsAre("R/C1.X", "R/C1.Y"));
  EXPECT_THAT(Paths(Vars("R/C1", IEC_SELECT_IS_IN_VAR)), ElementsAre("R/C1.X"));

  GlObjectId iter = 0;
  const GlObjectId ref = Id("R/C1/F1.REF"), refType = Id("R/%AXIS.REF");
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_StructureElementsGet(m, ref, iter, out, kTr); }, out)),
              ElementsAre("R/C1/F1.REF.Nr", "R/C1/F1.REF.St"));
  iter = 0;
  EXPECT_THAT(Paths(Collect([&](MODE m) { return db.iec_StructureElementsGet(m, refType, iter, out, kTr); }, out)),
              ElementsAre("R/%AXIS.REF.Nr", "R/%AXIS.REF.St"));

  GlBool isConnection = 0;
  Iec_Connection connection{};
  const GlObjectId aOut = Id("R/C1/A1.OUT");
  EXPECT_THAT(
      Paths(Collect([&](MODE m) { return db.iec_SinksGet(m, aOut, out, type, isConnection, connection, kTr); }, out)),
      ElementsAre("R/C1.Y", "R/@gA"));
  EXPECT_EQ(isConnection, 0); // the last one is reported as no connection
  EXPECT_EQ(connection.connectionType, IEC_NO_CONNECTION);
  const GlObjectId ga = Id("R/@gA");
  EXPECT_THAT(
      Paths(Collect([&](MODE m) { return db.iec_SourcesGet(m, ga, out, type, isConnection, connection, kTr); }, out)),
      ElementsAre("R/C1/A1.OUT"));
  std::uint64_t udaIter = 0;
  Gl_Uda uda{};
  EXPECT_EQ(Err(db.gl_UdasGet(M_FIRST, a1, udaIter, uda, kTr)), GL_ERR_NO_MORE_ELEMENTS);
}

TEST_F(IterationTest, TextualReferenceHasNoSourceObject) {
  const GlObjectId in1 = Id("R/C1/S1/S11/A2.IN1");
  GlObjectId source = 99;
  GlObjectType type = IEC_OBJ_RESOURCE;
  std::int32_t connectionType = 0;
  Iec_Connection connection{};
  EXPECT_EQ(Err(db.iec_SourcesGetV6_0(M_FIRST, in1, source, type, connectionType, connection, kTr)),
            GL_ERR_LAST_ELEMENT);
  EXPECT_EQ(source, 0u);
  EXPECT_EQ(type, IEC_OBJ_NULL);
  EXPECT_EQ(connectionType, IEC_TEXTUAL_REF);
  EXPECT_STREQ(connection.textualRef, "OTHER.OUT");
}

// Several exports zero their out-variable before every call: the position must not live there.
TEST_F(IterationTest, PositionDoesNotDependOnTheOutVariable) {
  const GlObjectId r = Id("R");
  GlObjectId chart = 0;
  GlObjectType type = IEC_OBJ_NULL;
  ASSERT_EQ(Err(db.iec_ChartsGet(M_FIRST, 8, r, chart, type, kTr)), 0u);
  EXPECT_EQ(PathOf(chart), "R/C1");
  chart = 0;
  type = 36;
  ASSERT_EQ(Err(db.iec_ChartsGet(M_NEXT, 8, r, chart, type, kTr)), GL_ERR_LAST_ELEMENT);
  EXPECT_EQ(PathOf(chart), "R/C2");
}

TEST_F(IterationTest, NestedIterationsOfOneFunctionOverDifferentParents) {
  const GlObjectId t1 = Id("R/#T1");
  GlObjectId group = 0, member = 0;
  GlObjectType type = IEC_OBJ_NULL;
  std::vector<std::string> seen;
  Collect(
      [&](MODE m) {
        const GlResult r = db.iec_TaskElementsGet(m, 7, t1, group, type, kTr);
        if (Err(r) == 0 || Err(r) == GL_ERR_LAST_ELEMENT) {
          seen.push_back(Name(group));
          const GlObjectId g = group;
          for (GlObjectId id :
               Collect([&](MODE k) { return db.iec_ProcessingGroupBlocksGet(k, 0, g, member, type, kTr); }, member)) {
            seen.push_back(Name(id));
          }
        }
        return r;
      },
      group);
  EXPECT_THAT(seen, ElementsAre("G1", "A1", "S1", "G2"));

  // The same function over a chart and its sub-chart, interleaved, with their own cursors.
  const GlObjectId c1 = Id("R/C1"), s1 = Id("R/C1/S1");
  GlObjectId outerIter = 0, innerIter = 0, outer = 0, inner = 0;
  ASSERT_EQ(Err(db.iec_CfcBlocksGet(M_FIRST, 0, c1, outerIter, outer, type, kTr)), 0u);
  ASSERT_EQ(Err(db.iec_CfcBlocksGet(M_FIRST, 0, s1, innerIter, inner, type, kTr)), GL_ERR_LAST_ELEMENT);
  ASSERT_EQ(Err(db.iec_CfcBlocksGet(M_NEXT, 0, c1, outerIter, outer, type, kTr)), 0u);
  EXPECT_EQ(PathOf(outer), "R/C1/F1");
}

TEST_F(IterationTest, EachThreadKeepsItsOwnPosition) {
  const GlObjectId r = Id("R");
  std::vector<std::string> first, second;
  auto walk = [&](std::vector<std::string>& names) {
    GlObjectId task = 0;
    const auto ids = Collect(
        [&](MODE mode) {
          std::this_thread::yield(); // let the other thread's calls fall between ours
          return db.iec_TasksGet(mode, r, task, kTr);
        },
        task);
    for (GlObjectId id : ids) names.push_back(std::to_string(id));
  };
  std::thread a([&] { walk(first); });
  std::thread b([&] { walk(second); });
  a.join();
  b.join();
  EXPECT_EQ(first.size(), 2u);
  EXPECT_EQ(first, second);
}

TEST_F(IterationTest, BadModesFiltersAndParents) {
  const GlObjectId c1 = Id("R/C1"), r = Id("R"), t1 = Id("R/#T1");
  GlObjectId iter = 0, out = 0;
  GlObjectType type = IEC_OBJ_NULL;
  EXPECT_EQ(Err(db.iec_CfcBlocksGet(M_LAST, 0, c1, iter, out, type, kTr)), 0x20103u);
  EXPECT_EQ(Err(db.iec_CfcBlocksGet(M_FIRST, 13, c1, iter, out, type, kTr)), 0x20103u);
  EXPECT_EQ(Err(db.iec_TaskElementsGet(M_FIRST, 8, t1, out, type, kTr)), 0x20103u);
  EXPECT_EQ(Err(db.iec_CfcBlocksGet(M_FIRST, 0, r, iter, out, type, kTr)), 0x20102u); // not a chart
  EXPECT_EQ(Err(db.iec_TasksGet(M_FIRST, 0x1234, out, kTr)), 0x20101u);               // no object
  // M_NEXT without M_FIRST delivers nothing.
  EXPECT_EQ(Err(db.iec_GlobalVarsGet(M_NEXT, r, out, kTr)), GL_ERR_NO_MORE_ELEMENTS);
}

} // namespace
} // namespace grx::testing
