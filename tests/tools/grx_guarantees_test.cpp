// What grx promises a person at the terminal: it never loses a project, never reports a failure
// as success, checks its arguments before anything runs and says what failed and where.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "grx_cli_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

class GrxGuaranteesTest : public GrxCliTest {
protected:
  void SetUp() override {
    GrxCliTest::SetUp();
    db_ = (folder_ / "D.db").string();
    const GrxRun imported = Grx("import " + DemoJsonPath() + " " + db_);
    ASSERT_EQ(imported.exitCode, 0) << imported.out;
  }

  GrxRun OnProject(const std::string& arguments, const std::string& environment = {}) const {
    return Grx("--project " + db_ + " " + arguments, environment);
  }

  std::string db_;
};

TEST_F(GrxGuaranteesTest, ExportNeverWritesOverTheProjectOrAnotherFile) {
  const std::string before = FileBytes(db_);
  const GrxRun itself = Grx("export " + db_ + " -o " + db_);
  EXPECT_EQ(itself.exitCode, 3);
  EXPECT_THAT(itself.out, HasSubstr("would replace the project file " + db_ + " itself"));
  EXPECT_EQ(FileBytes(db_), before);
  // The same file under another name is the project too.
  const GrxRun other = Grx("export " + db_ + " -o " + (folder_ / "." / "D.db").string() + " --force");
  EXPECT_EQ(other.exitCode, 3) << other.out;
  EXPECT_EQ(FileBytes(db_), before);

  const std::string existing = Write("notes.json", "keep me");
  const GrxRun refused = Grx("export " + db_ + " -o " + existing);
  EXPECT_EQ(refused.exitCode, 3);
  EXPECT_THAT(refused.out, HasSubstr("exists already (use --force to replace it)"));
  EXPECT_EQ(FileBytes(existing), "keep me");
  ASSERT_EQ(Grx("export " + db_ + " -o " + existing + " --force").exitCode, 0);
  EXPECT_EQ(FileBytes(existing), Grx("export " + db_).out);
}

TEST_F(GrxGuaranteesTest, ObjectsOfAnotherKindAreUsageErrorsThatSayWhatTheyAre) {
  const std::string before = FileBytes(db_);
  const struct {
    std::string arguments, message;
  } cases[] = {
      {"stamp D445_AXES D445_AXES/Axis1/Move1", "CHART takes a root chart; D445_AXES/Axis1/Move1 is a block"},
      {"stamp D445_AXES/Axis1", "CONTROLLER takes a controller; D445_AXES/Axis1 is a root chart"},
      {"stamp D445_AXES D445_AXES/#T1", "CHART takes a root chart; D445_AXES/#T1 is a task"},
      {"stamp D445_AXES D445_AXES/Axis1/Homing", "D445_AXES/Axis1/Homing is a sub-chart"},
      {"run-sequence D445_AXES/Axis1/Move1", "CHART takes a chart; D445_AXES/Axis1/Move1 is a block"},
      {"run-sequence D445_AXES", "D445_AXES is a controller"},
      {"run-sequence D445_AXES/#T1", "D445_AXES/#T1 is a task"},
      {"move-blocks D445_AXES/Axis1/Move1 --to D445_AXES/#T1/G_Axis1", "D445_AXES/Axis1/Move1 is a block"},
      {"move-blocks D445_AXES/Axis2 --to D445_AXES/#T1", "--to takes a processing group; D445_AXES/#T1 is a task"},
      {"task-of D445_AXES/Axis1/Move1 D445_AXES/Axis1", "TASK takes a task; D445_AXES/Axis1 is a root chart"},
      {"compatible D445_AXES/Axis1/Move1 D445_AXES/@gEnable", "SOURCE takes a variable"},
      {"import-tasks D445_AXES/@gEnable", "RES takes a controller; D445_AXES/@gEnable is a global variable"},
  };
  for (const auto& c : cases) {
    const GrxRun run = OnProject(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments << ": " << run.out;
    EXPECT_THAT(run.out, HasSubstr(c.message)) << c.arguments;
  }
  EXPECT_EQ(FileBytes(db_), before) << "the block's record was not touched";
  EXPECT_THAT(OnProject("blob D445_AXES/Axis1/Move1").out, HasSubstr("XMLid"));
}

TEST_F(GrxGuaranteesTest, AFailedCommitIsAFailureAndNothingIsStored) {
  const std::string before = FileBytes(db_);
  const GrxRun run = OnProject("import-types CX32_LINE --quiet", "Q3JDBMOX_FAULTS=gl_TransactionCommit:0x20108");
  EXPECT_EQ(run.exitCode, 3) << run.out;
  EXPECT_THAT(run.out, Not(HasSubstr("imported")));
  EXPECT_THAT(run.out, HasSubstr("grx import-types: CX32_LINE in " + db_ + ": "));
  EXPECT_EQ(FileBytes(db_), before);
  // Without the fault the same command imports and says so.
  const GrxRun imported = OnProject("import-types CX32_LINE --quiet");
  EXPECT_EQ(imported.exitCode, 0) << imported.out;
  EXPECT_THAT(imported.out, HasSubstr("block-type import of CX32_LINE: imported"));
  EXPECT_NE(FileBytes(db_), before);
}

TEST_F(GrxGuaranteesTest, MovedBlocksAreReadBackInTheirPlaceBehindTheGroupsMembers) {
  const std::string before = FileBytes(db_);
  const GrxRun faulty = OnProject("move-blocks D445_AXES/Axis2 --to D445_AXES/#T1/G_Axis1",
                                  "Q3JDBMOX_FAULTS=iec_ProcessingGroupBlocksGet:0x20108:1:1");
  EXPECT_EQ(faulty.exitCode, 3) << faulty.out;
  EXPECT_EQ(FileBytes(db_), before);

  const GrxRun moved = OnProject("--json move-blocks D445_AXES/Axis2 --to D445_AXES/#T1/G_Axis1");
  ASSERT_EQ(moved.exitCode, 0) << moved.out;
  const auto sequence = nlohmann::json::parse(moved.out)["runSequence"];
  // Axis1's blocks were in the group first and stay first; Axis2's follow.
  const auto members = nlohmann::json::parse(OnProject("--json info").out)["controllers"][0]["tasks"][0]["groups"][0];
  ASSERT_EQ(members["name"], "G_Axis1");
  const auto list = members["members"];
  ASSERT_GE(list.size(), 2u);
  EXPECT_THAT(list.front().get<std::string>(), HasSubstr("D445_AXES/Axis1/"));
  EXPECT_THAT(list.back().get<std::string>(), HasSubstr("D445_AXES/Axis2/"));
}

TEST_F(GrxGuaranteesTest, ModelExceptionsAreOneLineAndExit3) {
  for (const std::string fault : {"iec_BlobWrite", "iec_BlobRead", "iec_BlobLengthGet", "gl_TransactionBegin"}) {
    const std::string before = FileBytes(db_);
    const GrxRun run = OnProject("stamp D445_AXES D445_AXES/Axis1", "Q3JDBMOX_FAULTS=" + fault + ":0x20108:1:0");
    EXPECT_EQ(run.exitCode, 3) << fault << ": " << run.out;
    EXPECT_THAT(run.out, HasSubstr("grx stamp: D445_AXES, D445_AXES/Axis1 in " + db_ + ": ")) << fault;
    EXPECT_THAT(run.out, HasSubstr("error id 0x20108")) << fault;
    EXPECT_EQ(FileBytes(db_), before) << fault;
  }
  const GrxRun raw = OnProject("call W5GRX_IsRootPlan chartId=0x7777777777");
  EXPECT_EQ(raw.exitCode, 3) << raw.out;
  EXPECT_THAT(raw.out, HasSubstr("chartId=0x7777777777 names no object of the project (iec_ObjectTypeGet, error id"));
}

TEST_F(GrxGuaranteesTest, TextsReachTheLibraryInTheCodePage) {
  ASSERT_EQ(OnProject("rename-global D445_AXES gEnable gÄnable").exitCode, 0);
  EXPECT_THAT(Grx("export " + db_).out, HasSubstr("\"name\": \"gÄnable\""));
  const GrxRun found = OnProject("find-global D445_AXES gä");
  EXPECT_EQ(found.exitCode, 0) << found.out;
  EXPECT_THAT(found.out, HasSubstr("gÄnable"));
  EXPECT_THAT(OnProject("run-sequence D445_AXES/Axis1").exitCode, 0);

  const std::string before = FileBytes(db_);
  const GrxRun cjk = OnProject("rename-global D445_AXES gÄnable g漢");
  EXPECT_EQ(cjk.exitCode, 2);
  EXPECT_THAT(cjk.out, HasSubstr("NEW holds a character that code page 1252 cannot hold"));
  EXPECT_EQ(FileBytes(db_), before);
  EXPECT_EQ(OnProject("chart D445_AXES Axis1/Hömîng").exitCode, 3); // converted, then not found
}

TEST_F(GrxGuaranteesTest, DeeplyNestedDescriptionsAreClearErrorsOrImportInLinearTime) {
  const std::string deep = Write("deep.json", "{\"a\":" + std::string(20000, '[') + std::string(20000, ']') + "}");
  const GrxRun refused = Grx("import " + deep + " " + (folder_ / "deep.db").string());
  EXPECT_EQ(refused.exitCode, 3);
  EXPECT_THAT(refused.out, HasSubstr("nested deeper than 10000 levels"));
  EXPECT_FALSE(fs::exists(folder_ / "deep.db"));

  // Charts 1,000 deep go in and come out again, the same.
  std::string charts;
  for (int i = 0; i < 1000; ++i) charts += "{\"name\": \"C" + std::to_string(i) + "\", \"charts\": [";
  for (int i = 0; i < 1000; ++i) charts += "]}";
  const std::string nested =
      Write("nested.json", "{\"controllers\": [{\"name\": \"R\", \"charts\": [" + charts + "]}]}");
  const std::string nestedDb = (folder_ / "nested.db").string();
  ASSERT_EQ(Grx("import " + nested + " " + nestedDb).exitCode, 0);
  const std::string exported = Grx("export " + nestedDb).out;
  EXPECT_LT(exported.size(), 1000u * 1000u) << "the text grows with the number of charts only";
  const std::string again = Write("again.json", exported);
  ASSERT_EQ(Grx("import " + again + " " + (folder_ / "again.db").string()).exitCode, 0);
  EXPECT_EQ(Grx("export " + (folder_ / "again.db").string()).out, exported);
  EXPECT_THAT(Grx("--project " + nestedDb + " subcharts R/C0").out, HasSubstr("C999"));
}

TEST_F(GrxGuaranteesTest, CleanUpsReportEveryRefusedDelete) {
  const std::string before = FileBytes(db_);
  const GrxRun refused = OnProject("clean-groups D445_AXES", "Q3JDBMOX_FAULTS=iec_ProcessingGroupDelete:0x20108:2:1");
  EXPECT_EQ(refused.exitCode, 3) << refused.out;
  EXPECT_THAT(refused.out, HasSubstr("not deleted: D445_AXES/#TBackground/G_Diag"));
  EXPECT_EQ(FileBytes(db_), before);

  // A task that still has members of its own is kept, and its empty groups go.
  const GrxRun tasks = OnProject("clean-tasks D445_AXES");
  ASSERT_EQ(tasks.exitCode, 0) << tasks.out;
  EXPECT_THAT(tasks.out, HasSubstr("D445_AXES/#TBackground/G_Old"));
  EXPECT_THAT(tasks.out, Not(HasSubstr("D445_AXES/#TBackground\n")));

  const GrxRun everyDelete =
      OnProject("clean-groups D445_AXES", "Q3JDBMOX_FAULTS=iec_ProcessingGroupDelete:0x20108:1:0");
  EXPECT_EQ(everyDelete.exitCode, 3);
  EXPECT_THAT(everyDelete.out, HasSubstr("not deleted: D445_AXES/#T4/G_Spare"));
  EXPECT_THAT(everyDelete.out, Not(HasSubstr("deleted 0")));
}

TEST_F(GrxGuaranteesTest, ReadsThatFailAreFailuresNotAnswers) {
  const GrxRun version =
      OnProject("data-version D445_AXES/Axis1 --update", "Q3JDBMOX_FAULTS=gl_DataVersionGet:0x20108:1:0");
  EXPECT_EQ(version.exitCode, 3) << version.out;
  EXPECT_THAT(version.out, HasSubstr("(gl_DataVersionGet, error id 0x20108)"));
  EXPECT_THAT(version.out, Not(HasSubstr("agree")));

  const std::string damaged = Write("damaged.db", "SQLite format 3" + std::string(1, '\0') + std::string(8000, 'x'));
  const GrxRun info = Grx("info " + damaged);
  EXPECT_EQ(info.exitCode, 3) << info.out;
  EXPECT_THAT(info.out, HasSubstr("grx info: " + damaged + ": "));
  EXPECT_THAT(info.out, Not(HasSubstr("controller(s)")));
}

TEST_F(GrxGuaranteesTest, BlobSetExitsZeroExactlyWhenItCommitted) {
  const GrxRun set = OnProject("blob D445_AXES/#T1 --set name=T1x");
  EXPECT_EQ(set.exitCode, 0) << set.out;
  EXPECT_THAT(OnProject("blob D445_AXES/#T1").out, HasSubstr("name: T1x"));
  const std::string before = FileBytes(db_);
  const GrxRun failed = OnProject("blob D445_AXES/#T1 --set name=T1y", "Q3JDBMOX_FAULTS=iec_BlobWrite:0x20108:1:0");
  EXPECT_EQ(failed.exitCode, 3) << failed.out;
  EXPECT_EQ(FileBytes(db_), before);
  const GrxRun deleted = OnProject("blob D445_AXES/#T1 --delete", "Q3JDBMOX_FAULTS=iec_BlobDelete:0x20108:1:0");
  EXPECT_EQ(deleted.exitCode, 3) << deleted.out;
  EXPECT_EQ(FileBytes(db_), before);
}

TEST_F(GrxGuaranteesTest, CallNumbersAreWholeAndInRange) {
  const struct {
    std::string arguments, message;
  } cases[] = {
      {"W5GRX_IECType_FromES typeClass=0 esType=4294967297", "esType takes a whole number from 0 to 4294967295"},
      {"W5GRX_IECType_FromES typeClass=0 esType=4abc", "esType takes a whole number"},
      {"W5GRX_IECType_FromES typeClass=abc esType=1", "typeClass takes a whole number"},
      {"FindGlobalVar resourceId=D445_AXES pattern=g flags=65536", "flags takes a whole number from 0 to 65535"},
      {"W5GRX_IECType_FromES typeClass=0 esType=1 esType=2", "esType is given more than once"},
      {"W5GRX_IsRootPlan chartId=D445_AXES/Axis1 prevTransactionId=70000", "prevTransactionId takes a whole number"},
  };
  for (const auto& c : cases) {
    const GrxRun run = Grx("call " + c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.arguments << ": " << run.out;
    EXPECT_THAT(run.out, HasSubstr(c.message)) << c.arguments;
  }
  EXPECT_EQ(Grx("progress --steps 20 --steps 30").exitCode, 2);
  EXPECT_THAT(Grx("progress --steps 1e3").out, HasSubstr("--steps takes a whole number from 0 to 100000"));
}

TEST_F(GrxGuaranteesTest, RenamingOntoAnotherTypeNeedsMergeAndCheckSeesTheMismatch) {
  const std::string before = FileBytes(db_);
  const GrxRun refused = OnProject("rename-global D445_AXES gEnable gMode");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_THAT(refused.out, HasSubstr("D445_AXES/@gMode exists with another data type (INT, D445_AXES/@gEnable is "
                                     "BOOL): the moved connections would not fit; --merge moves them all the same"));
  EXPECT_EQ(FileBytes(db_), before);
  EXPECT_THAT(OnProject("check D445_AXES").out, Not(HasSubstr("cannot feed")));
  ASSERT_EQ(OnProject("rename-global D445_AXES gEnable gMode --merge").exitCode, 0);
  const GrxRun check = OnProject("check D445_AXES");
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_THAT(check.out, HasSubstr("D445_AXES/Axis1/Power1.ENABLE: connection: fed by D445_AXES/@gMode: INT cannot "
                                   "feed BOOL"));
  EXPECT_THAT(check.out, HasSubstr("D445_AXES/Axis1.Enable: connection: fed by D445_AXES/@gMode"));
}

TEST_F(GrxGuaranteesTest, NamesThatDifferOnlyInCaseAreNotGuessed) {
  const std::string twins = Write("twins.json", R"({"controllers": [{"name": "R", "globals": [
      {"name": "gStart", "type": "BOOL"}, {"name": "GSTART", "type": "BOOL"}]}]})");
  const std::string db = (folder_ / "twins.db").string();
  ASSERT_EQ(Grx("import " + twins + " " + db).exitCode, 0);
  const GrxRun ambiguous = Grx("--project " + db + " rename-global R gstart gGo");
  EXPECT_EQ(ambiguous.exitCode, 2);
  EXPECT_THAT(ambiguous.out, HasSubstr("\"gstart\" names 2 global variables of R that differ only in case: R/@gStart, "
                                       "R/@GSTART"));
  // Given with its case, the name is the one global variable.
  EXPECT_EQ(Grx("--project " + db + " rename-global R GSTART gGo").exitCode, 0);
}

TEST_F(GrxGuaranteesTest, TheDemoProjectSaysItIsNotSaved) {
  const GrxRun run = Grx("clean-groups D445_AXES");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(run.out, HasSubstr("(demo project: not saved)"));
  EXPECT_THAT(Grx("plans D445_AXES").out, Not(HasSubstr("not saved")));
}

TEST_F(GrxGuaranteesTest, MessagesSayWhatFailedAndWhere) {
  const std::string text = Write("text.db", "this is not a database, not at all, not even close........");
  const GrxRun notDb = Grx("--project " + text + " plans R");
  EXPECT_EQ(notDb.exitCode, 3);
  EXPECT_THAT(notDb.out, HasSubstr("grx plans: " + text + ": "));

  const GrxRun misspelt = OnProject("stamp D445_AXES", "Q3JDBMOX_FAULTS=iec_BlobWrit:0x20108");
  EXPECT_EQ(misspelt.exitCode, 3);
  EXPECT_THAT(misspelt.out, HasSubstr("\"iec_BlobWrit\""));

  const GrxRun control = OnProject("chart D445_AXES 'Axis1\x1b[2J'");
  EXPECT_EQ(control.exitCode, 3);
  EXPECT_THAT(control.out, HasSubstr("Axis1\\x1B[2J"));
  EXPECT_THAT(control.out, Not(HasSubstr("\x1b")));

  const GrxRun field = OnProject("blob D445_AXES/#T1 --set taskId=abc");
  EXPECT_EQ(field.exitCode, 2);
  EXPECT_THAT(field.out, HasSubstr("taskId"));

  const GrxRun empty = Grx("check-name var ''");
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_THAT(empty.out, HasSubstr("a name cannot be empty"));
}

TEST_F(GrxGuaranteesTest, AKilledImportLeavesNothingBehindForLong) {
  const std::string target = (folder_ / "k.db").string();
  Write("k.db.importing-1234abcd", "half");
  Write("k.db.importing-1234abcd-journal", "half");
  Write("k.db.importing-notes", "not ours");
  ASSERT_EQ(Grx("import " + DemoJsonPath() + " " + target).exitCode, 0);
  EXPECT_FALSE(fs::exists(target + ".importing-1234abcd"));
  EXPECT_FALSE(fs::exists(target + ".importing-1234abcd-journal"));
  EXPECT_TRUE(fs::exists(target + ".importing-notes"));
}

TEST_F(GrxGuaranteesTest, VersionsAndInfoDepth) {
  const GrxRun version = Grx("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_THAT(version.out, HasSubstr("grx "));
  EXPECT_THAT(version.out, HasSubstr("library: w5lhlpax "));
  EXPECT_THAT(version.out, HasSubstr("chart database: Q3JDBMOX"));
  const auto shallow = nlohmann::json::parse(OnProject("--json info --depth 1").out);
  const auto& axis1 = shallow["controllers"][0]["charts"][0];
  EXPECT_EQ(axis1["name"], "Axis1");
  EXPECT_FALSE(axis1.contains("charts"));
  EXPECT_GT(shallow["controllers"][0]["counts"]["subCharts"].get<int>(), 0) << "every chart is still counted";
  EXPECT_THAT(OnProject("info").out, HasSubstr("    Homing"));
}

} // namespace
} // namespace grx::testing
