// Chart paths, the sub-chart hierarchy, chart interfaces and the task exports against stand-in
// projects.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "grx/w5lhlpax.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/open_data_exception.h"
#include "standin_fixture.h"
#include "platform/dynamic_library.h"
#include "platform/process.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;

class ChartsAndTasksTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1"}, {"name": "OUT", "direction": "out"}]}],
      "charts": [
        {"name": "P", "interface": [{"name": "In1", "type": "REAL", "itemText": "first"},
                                     {"name": "In2", "type": "REAL"},
                                     {"name": "Out1", "direction": "out", "type": "REAL", "itemName": "OUT_1"},
                                     {"name": "Both", "direction": "inout", "type": "INT"}],
         "blocks": [{"name": "B", "type": "ADD"}],
         "charts": [{"name": "A", "charts": [{"name": "A1", "interface": [{"name": "Deep9", "direction": "out"}]}]},
                    {"name": "Sub1"}, {"name": "B2"}]},
        {"name": "R1", "charts": [{"name": "S1", "charts": [{"name": "S2"}]}]}],
      "tasks": [
        {"name": "T1", "groups": [{"name": "G1", "members": ["P/B"]}, {"name": "GE"}]},
        {"name": "t3", "groups": [{"name": "E1"}, {"name": "E2"}]},
        {"name": "T3", "groups": [{"name": "E3"}]},
        {"name": "Busy", "groups": [{"name": "Empty"}, {"name": "Full", "members": ["R1"]}]},
        {"name": "NoGroups"}]}]})");
  }
  std::vector<std::string> TaskNames() {
    std::vector<std::string> names;
    GlObjectId task = 0;
    const GlObjectId r = Id("R");
    for (GlObjectId id : Collect([&](MODE m) { return db.iec_TasksGet(m, r, task, kTr); }, task))
      names.push_back(Name(id));
    return names;
  }
  std::vector<std::string> GroupNames(const std::string& task) {
    std::vector<std::string> names;
    GlObjectId group = 0;
    GlObjectType type = 0;
    const GlObjectId t = Id(task);
    for (GlObjectId id : Collect([&](MODE m) { return db.iec_TaskElementsGet(m, 7, t, group, type, kTr); }, group)) {
      names.push_back(Name(id));
    }
    return names;
  }
};

TEST_F(ChartsAndTasksTest, SubChartHierarchyAndPaths) {
  std::vector<GlObjectId> ids;
  EXPECT_EQ(W5GRX_GetSubPlansByPlanID(Id("R/P"), kTr, ids), 4);
  EXPECT_THAT(Paths(ids), ElementsAre("R/P/A", "R/P/A/A1", "R/P/Sub1", "R/P/B2"));
  std::vector<GlObjectId> none;
  EXPECT_EQ(W5GRX_GetSubPlansByPlanID(0, kTr, none), -1);
  EXPECT_TRUE(none.empty());
  ASSERT_EQ(db.InjectFault("iec_CfcBlocksGet", 0x777, 2, 1), 0);
  EXPECT_EQ(W5GRX_GetSubPlansByPlanID(Id("R/P"), kTr, none), -1);

  GlObjectId chart = 42;
  EXPECT_TRUE(W5GRX_GetChart("R1\\S1\\S2", Id("R"), chart, kTr));
  EXPECT_EQ(PathOf(chart), "R/R1/S1/S2");
  chart = 42;
  EXPECT_TRUE(W5GRX_GetChart("R1", Id("R"), chart, kTr)); // without a backslash nothing is found
  EXPECT_EQ(chart, 42u);
  EXPECT_TRUE(W5GRX_GetChart("Nope\\S1", Id("R"), chart, kTr));
  EXPECT_EQ(chart, 42u);
  EXPECT_TRUE(W5GRX_GetSubChart(Id("R/P"), "sub1", chart, kTr)); // names are compared exactly
  EXPECT_EQ(chart, 42u);
  EXPECT_TRUE(W5GRX_GetSubChart(Id("R/P"), "Sub1", chart, kTr));
  EXPECT_EQ(PathOf(chart), "R/P/Sub1");
  ASSERT_EQ(db.InjectFault("iec_CfcBlocksGet", 0x778, 1, 1), 0);
  try {
    W5GRX_GetChart("R1\\S1", Id("R"), chart, kTr);
    ADD_FAILURE();
  } catch (const OpenData::COpenDataException& e) {
    EXPECT_EQ(e.GetMessage(), "OPEN-DATA exception: iec_CfcBlocksGet failed.");
    EXPECT_EQ(e.GetFile(), ".\\HelpFunc");
    EXPECT_EQ(e.GetLine(), 3558u);
  }
}

TEST_F(ChartsAndTasksTest, SubChartListingWritesItsFailuresToTheModuleTrace) {
  const auto log = std::filesystem::temp_directory_path() /
                   ("grx-subplans-" + std::to_string(grx::platform::CurrentProcessId()) + ".log");
  grx::platform::SetEnvironmentValue("W5TRACE_FILE", log.string());
  std::vector<GlObjectId> ids;
  EXPECT_EQ(W5GRX_GetSubPlansByPlanID(0, kTr, ids), -1);
  ASSERT_EQ(db.InjectFault("iec_CfcBlocksGet", 0x20101, 1, 1), 0);
  EXPECT_EQ(W5GRX_GetSubPlansByPlanID(Id("R/P"), kTr, ids), -1);
  grx::platform::RemoveEnvironmentValue("W5TRACE_FILE");
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  // The file the loader found the library in: w5lhlpax.dll, or the SONAME link w5lhlpax.so leads to.
  std::string module = grx::platform::ModuleFileName("w5lhlpax");
  const grx::platform::Module library = grx::platform::Module::Load("w5lhlpax");
  if (std::filesystem::is_symlink(library.path())) module = std::filesystem::read_symlink(library.path()).string();
  EXPECT_THAT(text.str(), ::testing::HasSubstr("level 4 W5GRX_GetSubPlansByPlanID [.\\HelpFunc (4042), module: " +
                                               module + ", thread: 0x"));
  EXPECT_THAT(text.str(), ::testing::HasSubstr("]: Plan ID is NULL!\n"));
  EXPECT_THAT(text.str(), ::testing::HasSubstr("(4087), module: " + module));
  EXPECT_THAT(text.str(), ::testing::HasSubstr("]: OpenData error: iec_CfcBlocksGet failed. result = 20101.\n"));
  in.close();
  std::error_code kept; // the trace library may hold the file open still (Windows cannot remove it then)
  std::filesystem::remove(log, kept);
}

TEST_F(ChartsAndTasksTest, ChartInterfaces) {
  GlObjectId chart = Id("R/P");
  std::vector<BLOCK> blocks(1);
  EXPECT_FALSE(W5GRX_GetPlanInterface(chart, blocks, kTr));
  ASSERT_EQ(blocks.size(), 4u); // the record the caller had, then the three items
  EXPECT_EQ(blocks[1].name, "In1");
  EXPECT_EQ(blocks[3].name, "Out1");
  EXPECT_EQ(blocks[3].id, Id("R/P.Out1"));
  std::vector<PARAM> params;
  EXPECT_FALSE(W5GRX_GetPlanInterfaceParam(chart, params));
  ASSERT_EQ(params.size(), 3u);
  EXPECT_EQ(params[0].itemText, "first");
  EXPECT_EQ(params[2].name, "OUT_1");

  std::string lower = "deep9", upper = "DEEP9";
  GlObjectId parent = 0, location = 0;
  EXPECT_FALSE(W5GRX_GetPlanInterfaceParentidAndLoc(chart, lower, parent, location));
  EXPECT_TRUE(W5GRX_GetPlanInterfaceParentidAndLoc(chart, upper, parent, location));
  EXPECT_EQ(PathOf(parent), "R/P/A/A1");
  EXPECT_EQ(PathOf(location), "R/P/A/A1.Deep9");

  ASSERT_EQ(db.InjectFault("iec_VarsGet", 0x779, 3, 1), 0);
  std::vector<BLOCK> partial;
  EXPECT_THROW(W5GRX_GetPlanInterface(chart, partial, kTr), OpenData::COpenDataException);
  EXPECT_EQ(partial.size(), 2u); // what was appended before the failure stays
}

TEST_F(ChartsAndTasksTest, TaskOfAnObject) {
  std::string name = "unchanged";
  EXPECT_TRUE(W5GRX_GetTaskNamebyObjectId(Id("R/#T1"), Id("R/P/B"), name));
  EXPECT_EQ(name, "T1");
  name = "unchanged";
  EXPECT_FALSE(W5GRX_GetTaskNamebyObjectId(Id("R/#Busy"), Id("R/P/B"), name));
  EXPECT_EQ(name, "unchanged");
}

TEST_F(ChartsAndTasksTest, TaskDeletionKeepsProtectedAndOccupiedTasks) {
  EXPECT_TRUE(W5GRX_TaskDelete(Id("R"), kTr));
  EXPECT_THAT(TaskNames(), ElementsAre("T1", "T3", "Busy")); // t3 and NoGroups are gone
  EXPECT_THAT(GroupNames("R/#Busy"), ElementsAre("Empty", "Full"));
}

TEST_F(ChartsAndTasksTest, EveryGroupOfATaskIsAskedForMembers) {
  Load(R"({"controllers": [{"name": "R", "charts": [{"name": "P"}],
    "tasks": [{"name": "Mixed", "groups": [{"name": "Full", "members": ["P"]}, {"name": "E1"}, {"name": "E2"}]}]}]})");
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_TRUE(W5GRX_TaskElementsDelete(Id("R/#Mixed"), kTr));
  // Asked once per listed group, also after the first occupied one; nothing is deleted.
  EXPECT_EQ(db.CallCount("iec_ProcessingGroupBlocksGet"), 3u);
  EXPECT_EQ(db.CallCount("iec_ProcessingGroupDelete"), 0u);
  EXPECT_THAT(GroupNames("R/#Mixed"), ElementsAre("Full", "E1", "E2"));
}

TEST_F(ChartsAndTasksTest, EmptyGroupsAreDeletedUnlessListed) {
  EXPECT_TRUE(W5GRX_ProcessingGroupDeleteEmpty(Id("R/#t3"), {"E2"}, kTr));
  EXPECT_THAT(GroupNames("R/#t3"), ElementsAre("E2"));
  EXPECT_TRUE(W5GRX_GetTaskId(Id("R"), {"GE"}));
  EXPECT_THAT(GroupNames("R/#T1"), ElementsAre("G1", "GE"));
  EXPECT_TRUE(GroupNames("R/#t3").empty());
  EXPECT_THAT(GroupNames("R/#Busy"), ElementsAre("Full"));
  EXPECT_EQ(TaskNames().size(), 5u); // tasks stay
  ASSERT_EQ(db.InjectFault("iec_TasksGet", 0x77A, 1, 1), 0);
  EXPECT_THROW(W5GRX_GetTaskId(Id("R"), {}), OpenData::COpenDataException);
}

} // namespace
} // namespace grx::testing
