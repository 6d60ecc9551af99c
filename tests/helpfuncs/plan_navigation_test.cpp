// Plan navigation exports against stand-in projects, as a host calls them.
#include <cstring>

#include "grx/w5lhlpax.h"
#include "platform/window_handles.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;

class PlanNavigationTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1"}, {"name": "OUT", "direction": "out"}]}],
      "charts": [{"name": "Plan1", "blocks": [{"name": "B1", "type": "ADD"}],
                  "charts": [{"name": "S", "blocks": [{"name": "B2", "type": "ADD"}]}]},
                 {"name": "R1"}, {"name": "Other"}]},
      {"name": "EMPTY"}]})");
  }
};

TEST_F(PlanNavigationTest, RootPlanFromNameRewritesTheCase) {
  char name[52] = "plan1";
  GlObjectId chart = 0;
  EXPECT_TRUE(W5GRX_RootPlanFromName(Id("R"), name, chart, kTr));
  EXPECT_STREQ(name, "Plan1");
  EXPECT_EQ(chart, Id("R/Plan1"));
  char missing[52] = "S"; // a sub-chart is no root chart
  EXPECT_FALSE(W5GRX_RootPlanFromName(Id("R"), missing, chart, kTr));
  EXPECT_STREQ(missing, "S");
  EXPECT_FALSE(W5GRX_RootPlanFromName(Id("EMPTY"), missing, chart, kTr));
  EXPECT_FALSE(W5GRX_RootPlanFromName(0x999, missing, chart, kTr));
}

TEST_F(PlanNavigationTest, RootPlanFromVarOrBlock) {
  GlObjectId chart = 77;
  EXPECT_TRUE(W5GRX_RootPlanFromVarOrBlock(Id("R/Plan1/S/B2.IN1"), chart, kTr));
  EXPECT_EQ(chart, Id("R/Plan1"));
  EXPECT_TRUE(W5GRX_RootPlanFromVarOrBlock(Id("R/Plan1/S"), chart, kTr));
  EXPECT_EQ(chart, Id("R/Plan1"));
  EXPECT_TRUE(W5GRX_RootPlanFromVarOrBlock(Id("R/R1"), chart, kTr));
  EXPECT_EQ(chart, Id("R/R1"));
  EXPECT_FALSE(W5GRX_RootPlanFromVarOrBlock(0x999, chart, kTr));
  EXPECT_EQ(chart, 0u); // set to 0 first
}

TEST_F(PlanNavigationTest, ActivePlanFromTitle) {
  using namespace grx::platform;
  const WindowHandle frame = CreateWindowHandle("Chart editor");
  const WindowHandle chartWindow = CreateWindowHandle("R1 -- CFC editing", frame);
  const WindowHandle child = CreateWindowHandle("toolbar", chartWindow);
  GlObjectId chart = 0;
  std::string name;
  EXPECT_TRUE(W5GRX_ActivePlanFromTitle(child, Id("R"), chart, name, kTr));
  EXPECT_EQ(name, "R1");
  EXPECT_EQ(chart, Id("R/R1"));
  name.clear();
  EXPECT_TRUE(W5GRX_ActivePlanFromTitle(chartWindow, Id("R"), chart, name, kTr));
  const WindowHandle plain = CreateWindowHandle("no dashes here", frame);
  EXPECT_FALSE(W5GRX_ActivePlanFromTitle(plain, Id("R"), chart, name, kTr));
  EXPECT_FALSE(W5GRX_ActivePlanFromTitle(frame, Id("R"), chart, name, kTr)); // no dashes up to the top
  EXPECT_FALSE(W5GRX_ActivePlanFromTitle(0, Id("R"), chart, name, kTr));
  // A top-level window with the chart's title, and a child of it, find the chart.
  const WindowHandle topLevel = CreateWindowHandle("R1 -- CFC [Line3]");
  const WindowHandle itsChild = CreateWindowHandle("view", topLevel);
  name.clear();
  EXPECT_TRUE(W5GRX_ActivePlanFromTitle(topLevel, Id("R"), chart, name, kTr));
  EXPECT_EQ(name, "R1");
  name.clear();
  EXPECT_TRUE(W5GRX_ActivePlanFromTitle(itsChild, Id("R"), chart, name, kTr));
  EXPECT_EQ(chart, Id("R/R1"));
  // The walk gives up at a window whose parent is the desktop.
  const WindowHandle onDesktop = CreateWindowHandle("R1 -- CFC", DesktopWindow());
  EXPECT_FALSE(W5GRX_ActivePlanFromTitle(onDesktop, Id("R"), chart, name, kTr));
  const WindowHandle pathTitle = CreateWindowHandle("plan1\\S:x -- CFC", frame);
  EXPECT_TRUE(W5GRX_ActivePlanFromTitle(pathTitle, Id("R"), chart, name, kTr));
  EXPECT_EQ(name, "Plan1");
  for (WindowHandle w : {pathTitle, plain, child, chartWindow, frame, itsChild, topLevel, onDesktop}) {
    DestroyWindowHandle(w);
  }
}

TEST_F(PlanNavigationTest, ListsAppendBehindWhatTheCallerHas) {
  std::vector<std::string> names{"x", "y"};
  EXPECT_TRUE(W5GRX_RootPlansFromCPU(Id("R"), names, kTr));
  EXPECT_THAT(names, ElementsAre("x", "y", "Plan1", "R1", "Other"));
  std::vector<GlObjectId> ids{5};
  EXPECT_TRUE(W5GRX_RootPlanIDsFromCPU(Id("R"), ids, kTr));
  EXPECT_THAT(ids, ElementsAre(5u, Id("R/Plan1"), Id("R/R1"), Id("R/Other")));
  EXPECT_TRUE(W5GRX_RootPlansFromCPU(Id("EMPTY"), names, kTr));
  EXPECT_EQ(names.size(), 5u);
  ASSERT_EQ(db.InjectFault("iec_ChartsGet", 0x777, 2, 1), 0);
  EXPECT_FALSE(W5GRX_RootPlanIDsFromCPU(Id("R"), ids, kTr));
  ASSERT_EQ(db.InjectFault("gl_ObjectNameGet", 0x777, 1, 1), 0);
  names.clear();
  EXPECT_TRUE(W5GRX_RootPlansFromCPU(Id("R"), names, kTr)); // an unreadable name is skipped
  EXPECT_THAT(names, ElementsAre("R1", "Other"));
}

TEST_F(PlanNavigationTest, IsRootPlanAndExistPlan) {
  EXPECT_TRUE(W5GRX_IsRootPlan(Id("R/Plan1"), kTr));
  EXPECT_FALSE(W5GRX_IsRootPlan(Id("R/Plan1/S"), kTr));
  EXPECT_FALSE(W5GRX_IsRootPlan(0x999, kTr));
  EXPECT_TRUE(ExistPlan(Id("R/Plan1/S"), {"A", "S"}));
  EXPECT_FALSE(ExistPlan(Id("R/Plan1/S"), {"s"}));
  EXPECT_FALSE(ExistPlan(0x999, {"S"}));
}

} // namespace
} // namespace grx::testing

namespace grx::testing {
namespace {

// The root chart of every kind of object of the demo project, and which objects are root charts.
class PlanNavigationOnTheDemoTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(DemoJson());
  }
  // The root chart found for the object, or "" when there is none.
  std::string RootOf(const std::string& path) {
    GlObjectId chart = 0x1234;
    if (!W5GRX_RootPlanFromVarOrBlock(Id(path), chart, kTr)) return chart == 0 ? "" : "not reset";
    return PathOf(chart);
  }
};

TEST_F(PlanNavigationOnTheDemoTest, EveryObjectKindFindsItsRootChartOrNone) {
  const std::pair<const char*, const char*> cases[] = {
      {"D445_AXES/Axis1", "D445_AXES/Axis1"},                               // root chart
      {"D445_AXES/Axis1/Homing/HomeSeq", "D445_AXES/Axis1"},                // sub-chart
      {"D445_AXES/Axis1/Homing/HomeSeq/Search/SrchCnt", "D445_AXES/Axis1"}, // block four deep
      {"D445_AXES/Axis1/Move1.POS", "D445_AXES/Axis1"},                     // block parameter
      {"D445_AXES/Axis1/Move1.AXIS.Nr", "D445_AXES/Axis1"},                 // structure element
      {"D445_AXES/Axis1/Homing.HomeReq", "D445_AXES/Axis1"},                // sub-chart interface
      {"D445_AXES/Axis1.SpeedSet", "D445_AXES/Axis1"},                      // root interface
      {"D445_AXES", ""},                                                    // controller
      {"D445_AXES/#T1", ""},                                                // task
      {"D445_AXES/#T1/G_Axis1", ""},                                        // processing group
      {"D445_AXES/@gLineSpeed", ""},                                        // global variable
      {"D445_AXES/@gCamTable.Len", ""},                                     // global element
      {"D445_AXES/%MC_POWER", ""},                                          // block type
  };
  for (const auto& [object, root] : cases) EXPECT_EQ(RootOf(object), root) << object;
}

TEST_F(PlanNavigationOnTheDemoTest, OnlyRootChartsAreRootCharts) {
  for (const char* root : {"D445_AXES/Axis1", "D445_AXES/Safety", "CX32_LINE/Line"}) {
    EXPECT_TRUE(W5GRX_IsRootPlan(Id(root), kTr)) << root;
  }
  for (const char* other : {"D445_AXES/Axis1/Homing", "D445_AXES/Axis1/Move1", "D445_AXES/Axis1/Move1.POS",
                            "D445_AXES/Axis1/Move1.AXIS.Nr", "D445_AXES/Axis1.SpeedSet", "D445_AXES", "D445_AXES/#T1",
                            "D445_AXES/#T1/G_Axis1", "D445_AXES/@gLineSpeed", "D445_AXES/%MC_POWER"}) {
    EXPECT_FALSE(W5GRX_IsRootPlan(Id(other), kTr)) << other;
  }
  EXPECT_FALSE(W5GRX_IsRootPlan(0x999999, kTr)); // no such object
}

} // namespace
} // namespace grx::testing
