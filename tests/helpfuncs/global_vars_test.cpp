// Global variables against a stand-in project: found by name, their uses listed with location
// texts and sorted, and their connections moved to another variable, also when moves fail.
#include "blob/blob_global_var.h"
#include "grx/w5lhlpax.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class GlobalVarsTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "ADD", "kind": "function", "parameters": [{"name": "IN1", "type": "DINT"},
                       {"name": "IN2", "type": "DINT"}, {"name": "OUT", "direction": "out", "type": "DINT"}]}],
      "globals": [{"name": "Motor1", "type": "DINT", "text": "motor speed", "attributes": 7},
                  {"name": "EMOTION", "type": "DINT"}, {"name": "mot", "type": "DINT"}, {"name": "remote", "type": "DINT"},
                  {"name": "Star", "type": "DINT"}, {"name": "Line_pump1_On", "type": "DINT", "text": "pump"},
                  {"name": "Spare", "type": "DINT"}],
      "charts": [{"name": "R1", "interface": [{"name": "I", "type": "DINT"}],
                  "blocks": [{"name": "B", "type": "ADD"}, {"name": "B3", "type": "ADD"}, {"name": "B4", "type": "ADD"}],
                  "charts": [{"name": "S", "blocks": [{"name": "B2", "type": "ADD"}],
                              "charts": [{"name": "T", "interface": [{"name": "X", "type": "DINT"}]}]}]},
                 {"name": "A0", "blocks": [{"name": "Z", "type": "ADD"}]}],
      "connections": [{"from": "@Motor1", "to": "R1/B.IN1"}, {"from": "@Motor1", "to": "R1/S/B2.IN1"},
                      {"from": "@Motor1", "to": "R1/S/T.X"}, {"from": "@Motor1", "to": "A0/Z.IN2"},
                      {"from": "@Motor1", "to": "R1.I"}, {"from": "R1/S/B2.OUT", "to": "@Motor1"},
                      {"from": "@EMOTION", "to": "R1/B3.IN1"}, {"from": "@mot", "to": "R1/B3.IN2"},
                      {"from": "@remote", "to": "R1/B4.IN1"}, {"from": "@Star", "to": "R1/B4.IN2"},
                      {"from": "@Line_pump1_On", "to": "R1/B.IN2"}, {"from": "R1/B4.OUT", "to": "@Line_pump1_On"}]}]})");
    SetFullPath("R/@Motor1", "R\\Motor1");
    SetFullPath("R/@Star", "R\\*Star");
    SetFullPath("R/@Line_pump1_On", "Plant\\Line_pump1_On");
  }

  void SetFullPath(const std::string& var, const std::string& path) {
    CBlobGlobalVar blob(0, kTr);
    blob.SetFullPath(path);
    blob.Write(Id(var), kTr);
  }

  // The partners of a variable: its sinks, or its sources.
  std::vector<std::string> Partners(const std::string& var, bool sources) {
    GlObjectId partner = 0;
    GlObjectType type = 0;
    GlBool isConnection = 0;
    Iec_Connection connection{};
    return Paths(Collect(
        [&](MODE mode) {
          return sources ? db.iec_SourcesGet(mode, Id(var), partner, type, isConnection, connection, kTr)
                         : db.iec_SinksGet(mode, Id(var), partner, type, isConnection, connection, kTr);
        },
        partner));
  }

  std::vector<FIND> Uses(const char* pattern, std::uint16_t flags) {
    std::vector<FIND> results;
    EXPECT_TRUE(FindGlobalVar(Id("R"), pattern, flags, results, kTr));
    return results;
  }

  std::vector<std::string> Names(const std::vector<FIND>& results) {
    std::vector<std::string> names;
    for (const FIND& f : results) {
      if (names.empty() || names.back() != f.globalVarName.str()) names.push_back(f.globalVarName.str());
    }
    return names;
  }

  std::uint64_t HandlerCalls() { return db.ErrorHandlerCalls(nullptr); }
};

TEST_F(GlobalVarsTest, FindByNameWithAndWithoutCase) {
  CString text;
  GlObjectId id = 0;
  EXPECT_TRUE(FindGlobalVar(Id("R"), "motor1", text, id, kTr));
  EXPECT_EQ(id, Id("R/@Motor1"));
  EXPECT_EQ(text, "motor speed");
  id = 0;
  EXPECT_FALSE(FindGlobal(Id("R"), "motor1", text, id, kTr));
  EXPECT_EQ(id, 0u);
  EXPECT_TRUE(FindGlobal(Id("R"), "Motor1", text, id, kTr));
  EXPECT_EQ(id, Id("R/@Motor1"));
  EXPECT_FALSE(FindGlobal(Id("R"), "Motor", text, id, kTr)); // the same length too
  EXPECT_FALSE(FindGlobalVar(0, "Motor1", text, id, kTr));
  // A failed listing is handed to the error handler.
  const std::uint64_t before = HandlerCalls();
  ASSERT_EQ(db.InjectFault("iec_GlobalVarsGet", 0x783, 2, 1), 0);
  EXPECT_FALSE(FindGlobalVar(Id("R"), "Spare", text, id, kTr));
  EXPECT_EQ(HandlerCalls(), before + 1);
}

TEST_F(GlobalVarsTest, UsesAreLocatedAndSortedByRootChart) {
  const auto results = Uses("motor1", 0);
  std::vector<std::string> rows;
  for (const FIND& f : results) {
    rows.push_back(f.rootChartName.str() + " " + std::to_string(f.kind) + " " + f.location.str());
    EXPECT_EQ(f.globalVarName, "Motor1");
    EXPECT_EQ(f.globalVarId, Id("R/@Motor1"));
    EXPECT_EQ(f.rootChartId, Id("R/" + f.rootChartName.str()));
  }
  EXPECT_THAT(rows, ElementsAre("A0 0 \"._A0_Z.IN2\"", "R1 0 \"._R1_B.IN1\"", "R1 0 \"._R1_S_B2.IN1\"",
                                "R1 0 (R1\\S\\T<X>)", "R1 0 (R1<I>)", "R1 1 \"._R1_S_B2.OUT\""));
  EXPECT_EQ(results.front().varId, Id("R/A0/Z.IN2"));
  EXPECT_EQ(results.back().varId, Id("R/R1/S/B2.OUT"));

  // The location is appended to what the caller passes.
  std::string location = "at ";
  std::string rootName;
  GlObjectId root = 0;
  EXPECT_TRUE(W5GRX_FindSinksOrSources(Id("R/R1/S/T.X"), "X", location, root, rootName));
  EXPECT_EQ(location, "at (R1\\S\\T<X>)");
  EXPECT_EQ(root, Id("R/R1"));
  EXPECT_EQ(rootName, "R1");
  location.clear();
  EXPECT_TRUE(W5GRX_FindSinksOrSources(0x7777777, "Q", location, root, rootName)); // no owner to be found
  EXPECT_EQ(location, "(?<Q>)");
  EXPECT_EQ(root, 0u);
}

// Block parameters are located alike whether their block is a function block or a function, and
// the location goes behind what the caller's text already holds.
TEST_F(StandInTest, ParametersOfFunctionBlocksAndFunctionsAreLocatedAsBlockParameters) {
  Load(R"({"controllers": [{"name": "R",
    "blockTypes": [{"name": "MOTOR", "kind": "functionBlock", "parameters": [{"name": "EN", "type": "BOOL"}]},
                   {"name": "NOT", "kind": "function", "parameters": [{"name": "IN1", "type": "BOOL"},
                     {"name": "OUT", "direction": "out", "type": "BOOL"}]}],
    "charts": [{"name": "P", "charts": [{"name": "Q", "blocks": [{"name": "M", "type": "MOTOR"},
                                                                  {"name": "F", "type": "NOT"}]}]}]}]})");
  std::string location = "at ", rootName;
  GlObjectId root = 0;
  EXPECT_TRUE(W5GRX_FindSinksOrSources(Id("R/P/Q/M.EN"), "EN", location, root, rootName));
  EXPECT_EQ(location, "at \"._P_Q_M.EN\"");
  EXPECT_EQ(rootName, "P");
  EXPECT_EQ(root, Id("R/P"));
  location = "at ";
  EXPECT_TRUE(W5GRX_FindSinksOrSources(Id("R/P/Q/F.IN1"), "IN1", location, root, rootName));
  EXPECT_EQ(location, "at \"._P_Q_F.IN1\"");
  EXPECT_EQ(root, Id("R/P"));
}

TEST_F(GlobalVarsTest, SearchFlagsAndAsteriskPaths) {
  EXPECT_THAT(Names(Uses("mot", 0)), UnorderedElementsAre("Motor1", "EMOTION", "mot", "remote"));
  EXPECT_THAT(Names(Uses("mot", 2)), UnorderedElementsAre("mot", "remote")); // match case
  EXPECT_THAT(Names(Uses("MOT", 1)), ElementsAre("mot"));                    // whole name
  EXPECT_THAT(Names(Uses("mot", 3)), ElementsAre("mot"));
  EXPECT_THAT(Names(Uses("MOT", 3)), ElementsAre());
  EXPECT_TRUE(Uses("star", 0).empty());  // its full path holds an asterisk
  EXPECT_TRUE(Uses("Spare", 0).empty()); // no uses
  std::vector<FIND> results;
  EXPECT_FALSE(FindGlobalVar(0, "mot", 0, results, kTr));
}

TEST_F(GlobalVarsTest, SortIsStableAndByteWise) {
  std::vector<FIND> results(4);
  const char* roots[] = {"b", "B", "a", "B"};
  for (int i = 0; i < 4; ++i) {
    results[i].rootChartName = roots[i];
    results[i].varId = static_cast<std::uint64_t>(i);
  }
  EXPECT_TRUE(W5GRX_Sort(results));
  std::vector<std::uint64_t> order;
  for (const FIND& f : results) order.push_back(f.varId);
  EXPECT_THAT(order, ElementsAre(1u, 3u, 2u, 0u)); // B, B (as they stood), a, b
}

TEST_F(GlobalVarsTest, RenameMovesEveryConnectionAndKeepsTheOldVariable) {
  EXPECT_FALSE(W5GRX_ReplaceGlobVar(Id("R"), "NoSuch", "Other", kTr));
  EXPECT_ANY_THROW(db.Resolve("R/@Other")); // no such path: nothing was created

  const auto sinks = Partners("R/@Motor1", false);
  ASSERT_EQ(sinks.size(), 5u);
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "motor1", "Motor9", kTr));
  EXPECT_THAT(Partners("R/@Motor9", false), UnorderedElementsAre(sinks[0], sinks[1], sinks[2], sinks[3], sinks[4]));
  EXPECT_THAT(Partners("R/@Motor9", true), ElementsAre("R/R1/S/B2.OUT"));
  EXPECT_TRUE(Partners("R/@Motor1", false).empty());
  EXPECT_TRUE(Partners("R/@Motor1", true).empty());
  Iec_GlobalVar record{};
  ASSERT_EQ(Err(db.iec_GlobalVarRead(Id("R/@Motor9"), record, kTr)), 0u);
  EXPECT_STREQ(record.text, "motor speed");
  EXPECT_EQ(record.dataType, IEC_DINT);
  EXPECT_EQ(record.attributes, 0u);
  EXPECT_EQ(CBlobGlobalVar(Id("R/@Motor9"), kTr).GetFullPath(), "R\\Motor9");
  EXPECT_EQ(CBlobGlobalVar(Id("R/@Motor1"), kTr).GetFullPath(), "R\\Motor1");

  // Onto an existing variable; a new name that differs only in case changes nothing.
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "mot", "Spare", kTr));
  EXPECT_THAT(Partners("R/@Spare", false), ElementsAre("R/R1/B3.IN2"));
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "EMOTION", "emotion", kTr));
  EXPECT_THAT(Partners("R/@EMOTION", false), ElementsAre("R/R1/B3.IN1"));
}

TEST_F(GlobalVarsTest, RenameWhoseMovesFailEndsAndLosesNoConnection) {
  const std::uint64_t before = HandlerCalls();
  ASSERT_EQ(db.InjectFault("iec_Connect", 0x784, 2, 1), 0); // the second move fails after its delete
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "Motor1", "Motor9", kTr));
  EXPECT_GT(HandlerCalls(), before);
  EXPECT_EQ(Partners("R/@Motor1", false).size(), 1u); // put back on the old variable
  EXPECT_EQ(Partners("R/@Motor9", false).size(), 4u);
  EXPECT_THAT(Partners("R/@Motor9", true), ElementsAre("R/R1/S/B2.OUT"));

  // Every delete fails: each partner is tried once, and the loop ends.
  ASSERT_EQ(db.InjectFault("iec_ConnectionDelete", 0x785, 1, 0), 0);
  ASSERT_EQ(db.ResetCallCounts(), 0);
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "Line_pump1_On", "Pump", kTr));
  EXPECT_EQ(db.CallCount("iec_ConnectionDelete"), 2u);
  EXPECT_THAT(Partners("R/@Line_pump1_On", false), ElementsAre("R/R1/B.IN2"));
  ASSERT_EQ(db.ClearFaults(), 0);

  // A failing create ends the rename, still with true.
  ASSERT_EQ(db.InjectFault("iec_GlobalVarWrite", 0x786, 1, 1), 0);
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "remote", "Remote2", kTr));
  EXPECT_THAT(Partners("R/@remote", false), ElementsAre("R/R1/B4.IN1"));
}

TEST_F(GlobalVarsTest, ANameTheRecordCannotHoldIsRefusedAndThePathLosesOnlyItsLastPart) {
  const std::string tooLong(50, 'N');
  const std::uint64_t before = HandlerCalls();
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "Motor1", tooLong.c_str(), kTr));
  EXPECT_EQ(HandlerCalls(), before + 1);
  EXPECT_EQ(Partners("R/@Motor1", false).size(), 5u) << "nothing moved";
  EXPECT_ANY_THROW(db.Resolve("R/@" + tooLong.substr(0, 49)));
  EXPECT_FALSE(W5GRX_ReplaceGlobalVar(tooLong.c_str(), "pump1", 0, Id("R/R1/B.IN2"), Id("R"), Id("R/@Line_pump1_On")));
  EXPECT_THAT(Partners("R/@Line_pump1_On", false), ElementsAre("R/R1/B.IN2"));
  // 49 bytes fit.
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "Spare", tooLong.substr(0, 49).c_str(), kTr));
  EXPECT_NO_THROW(db.Resolve("R/@" + tooLong.substr(0, 49)));

  // The name stands in the path before its last part too: only the last part is replaced.
  SetFullPath("R/@Motor1", "Motors\\Motor1\\Motor1");
  EXPECT_TRUE(W5GRX_ReplaceGlobVar(Id("R"), "Motor1", "Motor9", kTr));
  EXPECT_EQ(CBlobGlobalVar(Id("R/@Motor9"), kTr).GetFullPath(), "Motors\\Motor1\\Motor9");
}

TEST_F(GlobalVarsTest, OneConnectionMovesToTheDerivedName) {
  EXPECT_TRUE(W5GRX_ReplaceGlobalVar("Pump2", "PUMP1", 0, Id("R/R1/B.IN2"), Id("R"), Id("R/@Line_pump1_On")));
  ASSERT_NO_THROW(db.Resolve("R/@Line_Pump2_On"));
  EXPECT_THAT(Partners("R/@Line_Pump2_On", false), ElementsAre("R/R1/B.IN2"));
  EXPECT_THAT(Partners("R/@Line_pump1_On", true), ElementsAre("R/R1/B4.OUT")); // the other direction stays
  EXPECT_EQ(CBlobGlobalVar(Id("R/@Line_Pump2_On"), kTr).GetFullPath(), "Plant\\Line_Pump2_On");
  // The writer moves to the variable that now exists.
  EXPECT_TRUE(W5GRX_ReplaceGlobalVar("Pump2", "pump1", 1, Id("R/R1/B4.OUT"), Id("R"), Id("R/@Line_pump1_On")));
  EXPECT_THAT(Partners("R/@Line_Pump2_On", true), ElementsAre("R/R1/B4.OUT"));
  EXPECT_FALSE(W5GRX_ReplaceGlobalVar("X", "nothere", 0, Id("R/R1/B.IN2"), Id("R"), Id("R/@Line_Pump2_On")));
  EXPECT_FALSE(W5GRX_ReplaceGlobalVar("X", "Line", 0, Id("R/R1/B.IN2"), Id("R"), 0x7777777));
  // A failed connect answers false and puts the connection back.
  ASSERT_EQ(db.InjectFault("iec_Connect", 0x787, 1, 1), 0);
  EXPECT_FALSE(W5GRX_ReplaceGlobalVar("Pump3", "Pump2", 0, Id("R/R1/B.IN2"), Id("R"), Id("R/@Line_Pump2_On")));
  EXPECT_THAT(Partners("R/@Line_Pump2_On", false), ElementsAre("R/R1/B.IN2"));
}

} // namespace
} // namespace grx::testing
