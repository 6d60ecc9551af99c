// Project descriptions: round trip, deterministic identifiers, rejected descriptions with the
// JSON path of the fault, nothing half-written, persistence across reopening.
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "standin_fixture.h"
#include "platform/process.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;

class DescriptionTest : public StandInTest {
protected:
  std::string ImportError(const std::string& json) {
    EXPECT_NE(db.ImportDescription(json.c_str(), ":memory:"), 0) << "accepted: " << json;
    return db.LastError();
  }

  // The small project with one member of the first controller replaced or added.
  std::string Patched(const std::string& pointer, const nlohmann::json& value) {
    auto doc = nlohmann::json::parse(SmallProjectJson());
    doc[nlohmann::json::json_pointer(pointer)] = value;
    return doc.dump();
  }

  std::filesystem::path folder_ = std::filesystem::temp_directory_path() /
                                  ("grx-description-test-" + std::to_string(grx::platform::CurrentProcessId()));
  void SetUp() override {
    StandInTest::SetUp();
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    StandInTest::TearDown();
    std::filesystem::remove_all(folder_);
  }
};

TEST_F(DescriptionTest, ExportImportsUnchanged) {
  for (const std::string* json : {&SmallProjectJson(), &DemoJson()}) {
    Load(*json);
    const std::string first = db.Export();
    Load(first);
    EXPECT_EQ(db.Export(), first);
  }
}

TEST_F(DescriptionTest, ExportKeepsWhatTheDescriptionSaid) {
  Load(SmallProjectJson());
  const auto doc = nlohmann::json::parse(db.Export());
  const auto& r = doc["controllers"][0];
  EXPECT_EQ(r["family"], "0x112002");
  EXPECT_EQ(r["charts"][0]["blocks"][0]["values"], (nlohmann::json{{"IN2", "2.0"}}));
  EXPECT_EQ(r["charts"][0]["interface"][1]["itemName"], "Y_ITEM");
  EXPECT_EQ(r["tasks"][0]["groups"][0]["members"], (nlohmann::json{"C1/A1", "C1/S1"}));
  EXPECT_EQ(r["connections"].size(), 4u);
  EXPECT_EQ(r["connections"][2]["kind"], "no-connection");
  EXPECT_EQ(r["connections"][3]["text"], "OTHER.OUT");
  EXPECT_EQ(r["blockTypes"][1]["parameters"][0]["elements"][1]["elements"][0]["name"], "Ok");
  EXPECT_EQ(doc["project"]["created"], "2026-02-03T04:05:06Z");
}

TEST_F(DescriptionTest, IdentifiersAreDeterministic) {
  Load(DemoJson());
  const GlObjectId first = Id("D445_AXES/Axis1/Homing/HomeSeq/Search/SrchSel.G");
  const GlObjectId group = Id("CX32_LINE/#T2/G_Diag");
  Load(DemoJson());
  EXPECT_EQ(Id("D445_AXES/Axis1/Homing/HomeSeq/Search/SrchSel.G"), first);
  EXPECT_EQ(Id("CX32_LINE/#T2/G_Diag"), group);
}

TEST_F(DescriptionTest, RejectsMalformedDescriptionsWithThePathOfTheFault) {
  struct Case {
    std::string name, json, message;
  };
  const std::vector<Case> cases = {
      {"bad_json", "{\"controllers\": [", "/: not valid JSON"},
      {"bad_format", R"({"format": "other/9"})", "/format: unknown format"},
      {"bad_unknown_member", Patched("/controllers/0/colour", "red"), "/controllers/0/colour: unknown member"},
      {"bad_duplicate_chart", Patched("/controllers/0/charts/1/name", "C1"), "/controllers/0/charts/1/name: a chart"},
      {"bad_block_type", Patched("/controllers/0/charts/0/blocks/0/type", "NOPE"),
       "/controllers/0/charts/0/blocks/0/type: unknown block type \"NOPE\""},
      {"bad_value_name", Patched("/controllers/0/charts/0/blocks/0/values/IN9", "1"),
       "/controllers/0/charts/0/blocks/0/values/IN9: block type \"ADD\" has no such parameter"},
      {"bad_data_type", Patched("/controllers/0/globals/0/type", "REALLY"),
       "/controllers/0/globals/0/type: unknown data type"},
      {"bad_name_separator", Patched("/controllers/0/charts/0/name", "C/1"),
       "/controllers/0/charts/0/name: name \"C/1\" contains"},
      {"bad_long_task_name", Patched("/controllers/0/tasks/0/name", std::string(30, 'T')),
       "/controllers/0/tasks/0/name: name"},
      {"bad_member_path", Patched("/controllers/0/tasks/0/groups/0/members/0", "C1/NOPE"),
       "/controllers/0/tasks/0/groups/0/members/0: no object \"NOPE\""},
      {"bad_member_kind", Patched("/controllers/0/tasks/0/groups/0/members/0", "@gA"),
       "/controllers/0/tasks/0/groups/0/members/0: only charts and blocks"},
      {"bad_connection_end", Patched("/controllers/0/connections/0/to", "C1/A1.OUT"), "/controllers/0/connections/0: "},
      {"bad_second_source", Patched("/controllers/0/connections/1", {{"from", "C1.X"}, {"to", "C1/A1.IN1"}}),
       "/controllers/0/connections/1: the input is fed already"},
      {"bad_family", Patched("/controllers/0/family", "0xZZ"), "/controllers/0/family: expected a whole number"},
      {"bad_blob", Patched("/controllers/0/blob", "abc"), "/controllers/0/blob: hexadecimal text of odd length"},
      {"bad_uda", Patched("/controllers/0/udas", {{"k", 5}}), "/controllers/0/udas/k: expected a text"},
      {"bad_created", Patched("/project/created", "yesterday"), "/project/created: expected a time"},
      {"bad_direction", Patched("/controllers/0/charts/0/interface/0/direction", "up"),
       "/controllers/0/charts/0/interface/0/direction: expected \"in\", \"out\" or \"inout\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(ImportError(c.json), HasSubstr(c.message));
  }
}

TEST_F(DescriptionTest, FailedImportLeavesNothingBehind) {
  const std::string target = (folder_ / "p.db").string();
  const std::string bad = Patched("/controllers/0/connections/0/to", "C1/NOPE");
  EXPECT_NE(db.ImportDescription(bad.c_str(), target.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_empty(folder_));

  // An existing project stays as it was when a replacement fails.
  ASSERT_EQ(db.ImportDescription(SmallProjectJson().c_str(), target.c_str()), 0) << db.LastError();
  EXPECT_NE(db.ImportDescription(bad.c_str(), target.c_str()), 0);
  ASSERT_EQ(db.OpenProject(target.c_str(), 0), 0) << db.LastError();
  EXPECT_NE(Id("R/C1/A1"), 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 1);
}

TEST_F(DescriptionTest, ChangesPersistAcrossReopening) {
  const std::string target = (folder_ / "p.db").string();
  ASSERT_EQ(db.ImportDescription(SmallProjectJson().c_str(), target.c_str()), 0) << db.LastError();
  ASSERT_EQ(db.OpenProject(target.c_str(), 0), 0) << db.LastError();
  Iec_GlobalVar record{};
  std::snprintf(record.name, sizeof record.name, "gPersisted");
  record.dataType = IEC_LREAL;
  GlObjectId id = 0;
  ASSERT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C2"), "kept", kTr)), 0u);
  ASSERT_EQ(Err(db.iec_GlobalVarWrite(Id("R"), record, id, kTr)), 0u);
  GlTransactionId tr = 0;
  ASSERT_EQ(Err(db.gl_TransactionBegin(tr, kNoTransaction)), 0u);
  ASSERT_EQ(Err(db.gl_ObjectCommentSet(Id("R/C1"), "never committed", tr)), 0u);
  ASSERT_EQ(db.CloseProject(), 0); // an open transaction is rolled back

  ASSERT_EQ(db.OpenProject(target.c_str(), 0), 0) << db.LastError();
  EXPECT_EQ(Id("R/@gPersisted"), id);
  char comment[kGlTextSize] = {};
  ASSERT_EQ(Err(db.gl_ObjectCommentGet(Id("R/C2"), comment, kTr)), 0u);
  EXPECT_STREQ(comment, "kept");
  ASSERT_EQ(Err(db.gl_ObjectCommentGet(Id("R/C1"), comment, kTr)), 0u);
  EXPECT_STREQ(comment, "first chart");
}

// The export reads the project's tables at once; it answers for older and damaged project files
// what it answers object by object.
TEST_F(DescriptionTest, ExportOfOlderAndDamagedProjectFiles) {
  Load(SmallProjectJson());
  const std::string expected = db.Export();
  const GlObjectId block = Id("R/C1/A1");
  db.CloseProject();

  // A file made before kept interchange texts had their table.
  LoadDamaged(SmallProjectJson(), "DROP TABLE interchange;");
  EXPECT_EQ(db.Export(), expected);
  TearDown();

  // A connection from an object that is gone: the end is named by its raw identifier.
  LoadDamaged(SmallProjectJson(),
              "UPDATE connection SET source = 999999 WHERE ord = (SELECT min(ord) FROM connection);");
  const auto connections = nlohmann::json::parse(db.Export())["controllers"][0]["connections"];
  ASSERT_FALSE(connections.empty());
  EXPECT_EQ(connections[0]["from"], "0xf423f");
  TearDown();

  // A run-sequence member that is no object: the export fails and says which.
  LoadDamaged(SmallProjectJson(),
              "UPDATE membership SET member = 999999 WHERE member = " + std::to_string(block) + ";");
  const char* text = nullptr;
  EXPECT_NE(db.ExportDescription(&text), 0);
  EXPECT_THAT(std::string(db.LastError()), HasSubstr("no object 999999"));
}

TEST_F(DescriptionTest, OpeningWhatIsNotAProject) {
  EXPECT_NE(db.OpenProject((folder_ / "missing.db").string().c_str(), 0), 0);
  EXPECT_THAT(std::string(db.LastError()), HasSubstr("no such project file"));
  const auto text = folder_ / "text.db";
  std::ofstream(text) << "just some text, not a database\n";
  EXPECT_NE(db.OpenProject(text.string().c_str(), 0), 0);
  EXPECT_FALSE(std::string(db.LastError()).empty());
  GlObjectId chart = 0;
  EXPECT_EQ(Err(db.iec_BlockCfcGet(1, chart, kTr)), 0x20106u); // no project is open
}

} // namespace
} // namespace grx::testing
