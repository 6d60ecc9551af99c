// Version stamps of resources and root charts, the data version against the installed software,
// and the chart editor's technology version, against stand-in projects and settings files.
#include <filesystem>
#include <fstream>

#include "blob/blob_map.h"
#include "blob/blob_resource.h"
#include "blob/blob_top_level_cfc.h"
#include "grx/w5lhlpax.h"
#include "platform/dialog_presenter.h"
#include "platform/process.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class VersionChecksTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R", "charts": [{"name": "C1", "charts": [{"name": "S"}]}, {"name": "C2"}]}]})");
    fs::create_directories(folder_);
    platform::SetEnvironmentValue("GRX_SETTINGS_FILE", (folder_ / "settings.ini").string());
  }
  void TearDown() override {
    platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
    db.SetSoftwareVersion(nullptr);
    fs::remove_all(folder_);
    StandInTest::TearDown();
  }

  void Settings(const std::string& text) { std::ofstream(folder_ / "settings.ini") << text; }

  void StampResource(const std::string& stamp) {
    CBlobResource resource(Id("R"), kTr);
    resource.SetVersion(stamp);
    resource.Write(Id("R"), kTr);
  }

  // The check with messages shown; the message numbers in the captions of the boxes shown.
  bool Check(GlObjectId chart, bool& foreign, std::vector<std::string>* captions) {
    platform::ScriptedPresenter boxes;
    const bool result = W5GRX_CheckGRXVersion(platform::kNoWindow, Id("R"), chart, foreign, true, kTr);
    for (const auto& box : boxes.shown()) captions->push_back(box.caption.substr(box.caption.find("(jres")));
    return result;
  }

  fs::path folder_ = fs::temp_directory_path() / ("grx-version-test-" + std::to_string(platform::CurrentProcessId()));
};

TEST_F(VersionChecksTest, StampsSetThenChecked) {
  bool foreign = true;
  std::vector<std::string> captions;
  // Nothing stamped yet: false without a message.
  EXPECT_FALSE(Check(Id("R/C1"), foreign, &captions));
  EXPECT_FALSE(foreign);
  EXPECT_TRUE(captions.empty());

  EXPECT_TRUE(W5GRX_SetGRXVersion(platform::kNoWindow, Id("R"), Id("R/C1"), kTr));
  EXPECT_TRUE(Check(Id("R/C1"), foreign, &captions));
  EXPECT_TRUE(Check(0, foreign, &captions));
  EXPECT_TRUE(captions.empty());
  CBlobResource resource(Id("R"), kTr);
  EXPECT_EQ(resource.GetVersion(), "GRX_KORVALEN V4.1");
  EXPECT_EQ(resource.GetBuildVersion(), "47.80.30.00");
  CBlobTopLevelCfc chart(Id("R/C1"), kTr);
  EXPECT_EQ(chart.GetVersion(), "GRX_KORVALEN V4.1");
  chart.AddChangedPin(5);
  chart.Write(Id("R/C1"), kTr);
  W5GRX_SetGRXVersion(platform::kNoWindow, 0, Id("R/C1"), kTr);
  EXPECT_THAT(CBlobTopLevelCfc(Id("R/C1"), kTr).GetChangedPins(), ElementsAre(0u)); // only the single 0

  // A chart without blob: false, no message.
  EXPECT_FALSE(Check(Id("R/C2"), foreign, &captions));
  EXPECT_TRUE(captions.empty());
}

TEST_F(VersionChecksTest, OlderEmptyAndForeignStampsWithTheirMessages) {
  bool foreign = false;
  std::vector<std::string> captions;
  for (const char* older : {"GRX_TESSADUR V4.1", "GRX V4.0", ""}) {
    StampResource(older);
    EXPECT_FALSE(Check(0, foreign, &captions)) << older;
    EXPECT_FALSE(foreign) << older;
  }
  StampResource("GRX_SOMETHING V9");
  EXPECT_FALSE(Check(0, foreign, &captions));
  EXPECT_TRUE(foreign);
  EXPECT_THAT(captions, ElementsAre("(jres:1054)", "(jres:1054)", "(jres:1054)", "(jres:1056)"));
  // A current resource with a chart stamped by an older release.
  W5GRX_SetGRXVersion(platform::kNoWindow, Id("R"), Id("R/C1"), kTr);
  CBlobTopLevelCfc chart(Id("R/C1"), kTr);
  chart.SetVersion("GRX V4.0");
  chart.Write(Id("R/C1"), kTr);
  captions.clear();
  EXPECT_FALSE(Check(Id("R/C1"), foreign, &captions));
  EXPECT_FALSE(foreign);
  EXPECT_THAT(captions, ElementsAre("(jres:1054)"));
  // No message asked for: none shown.
  platform::ScriptedPresenter boxes;
  EXPECT_FALSE(W5GRX_CheckGRXVersion(platform::kNoWindow, Id("R"), Id("R/C1"), foreign, false, kTr));
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(VersionChecksTest, AResourceRecordOfAForeignRecordVersion) {
  CBlobMap map;
  map.SetVersion(9);
  ASSERT_TRUE(map.Write(Id("R"), kTr));
  bool foreign = true;
  std::vector<std::string> captions;
  EXPECT_FALSE(Check(0, foreign, &captions)); // read with its defaults: an empty stamp
  EXPECT_FALSE(foreign);
  EXPECT_THAT(captions, ElementsAre("(jres:1054)"));
  W5GRX_SetGRXVersion(platform::kNoWindow, Id("R"), 0, kTr); // overwritten with a version 2 record
  EXPECT_TRUE(Check(0, foreign, &captions));
}

TEST_F(VersionChecksTest, DataVersionCheckedAndBroughtUp) {
  CString text;
  EXPECT_TRUE(W5GRX_CheckDataVersion(Id("R/C1"), kTr, false, &text));
  EXPECT_EQ(text.str(), "V7.1");
  db.SetSoftwareVersion("V7.2");
  EXPECT_FALSE(W5GRX_CheckDataVersion(Id("R/C1"), kTr, false, &text));
  EXPECT_FALSE(W5GRX_CheckDataVersion(Id("R/C1"), kTr, false, nullptr));
  // Each failure of the update.
  const std::pair<const char*, std::uint32_t> faults[] = {
      {"gl_ObjectCommentGet", 0x20125}, {"gl_ObjectCommentSet", 0x20147}, {"gl_ObjectCommentSet", 0x20125}};
  for (const auto& [function, errorId] : faults) {
    db.InjectFault(function, errorId, 1, 1);
    EXPECT_FALSE(W5GRX_CheckDataVersion(Id("R/C1"), kTr, true, &text)) << function;
    EXPECT_EQ(text.str(), "V7.1");
  }
  EXPECT_TRUE(W5GRX_CheckDataVersion(Id("R/C1"), kTr, true, &text));
  EXPECT_TRUE(W5GRX_CheckDataVersion(Id("R/C1"), kTr, false, &text));
  EXPECT_EQ(text.str(), "V7.2");
  // Versions that cannot be read count as agreeing, the text untouched.
  db.InjectFault("gl_DataVersionGet", 0x20101, 1, 1);
  text = CString("untouched");
  EXPECT_TRUE(W5GRX_CheckDataVersion(Id("R/C2"), kTr, false, &text));
  EXPECT_EQ(text.str(), "untouched");
}

TEST_F(VersionChecksTest, SoftwareVersionAsMajorAndMinor) {
  const std::pair<const char*, const char*> rows[] = {
      {"V7.1", "0701"}, {"V10.2", "1002"}, {"V8.0", "0800"}, {"V7", nullptr}, {"7.1", nullptr}};
  for (const auto& [version, expected] : rows) {
    db.SetSoftwareVersion(version);
    CString text("before");
    EXPECT_EQ(W5GRX_GetVersionCFC(text), expected != nullptr) << version;
    EXPECT_EQ(text.str(), expected ? expected : "before") << version;
  }
  db.InjectFault("gl_SoftwareVersionGet", 0x20101, 1, 1);
  CString text("before");
  EXPECT_TRUE(W5GRX_GetVersionCFC(text));
  EXPECT_EQ(text.str(), "before");
}

TEST_F(VersionChecksTest, TheEditorVersionTableRowByRow) {
  struct Row {
    const char* version;
    bool result, tooOld;
  };
  const Row rows[] = {
      {"V7.0.1.2", false, true},
      {"V7.0.1.3", true, false},
      {"V8.0.0.0", true, false},
      {"V8.0", false, false},
      {"V6.5.0.0", false, true},
      {"V6.5", false, false},
      {"V7", false, false},
      {"V7.0.0", false, false},
      {"V7.0.0.9", false, true},
      {"V7.0.2.0", true, false},
      {"V7.1.0.0", false, true},
      {"V7.1.0.1", true, false},
      {"V7.1.1.0", true, false},
      {"V7.2.0.0", true, false},
      {"V7.0.-1.0", false, false},
      {"V7.-1.0.0", false, false},
      {"V9.0.0", true, false},
      // Split at the points first, each part read as the number it begins with.
      {"V7.0x.1.3", true, false},
      {"V7.0x.1.2", false, true},
      {"V7.1beta.0.1", true, false},
      {"V7.1.0.1.9", true, false},
      {"V7..1.3", true, false},
      {"V6x.1.2", false, true},
  };
  for (const Row& r : rows) {
    Settings(std::string("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvorn\\KELPO\\CFC]\nTechnVersion=") + r.version + "\n");
    bool tooOld = !r.tooOld;
    EXPECT_EQ(W5GRX_CheckVersionCFC_V70(tooOld), r.result) << r.version;
    EXPECT_EQ(tooOld, r.tooOld) << r.version;
  }
  Settings("");
  bool untouched = true;
  EXPECT_FALSE(W5GRX_CheckVersionCFC_V70(untouched));
  EXPECT_TRUE(untouched);
}

TEST_F(VersionChecksTest, TheEditorProgramBelowTheInstallationPath) {
  const fs::path install = folder_ / "install";
  fs::create_directories(install / "Q3cfc");
  Settings("[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0]\nInstallPath=" + install.string() + "\n");
  EXPECT_FALSE(W5GRX_IsCfcEditorInstalled());
  std::ofstream(install / "Q3cfc" / "q3jcfcax.exe") << "editor";
  EXPECT_TRUE(W5GRX_IsCfcEditorInstalled());
}

// Classification by the controller family: directly served, served (with the first selector or
// only with the second try), of another kind, and the component failing or missing.
TEST_F(VersionChecksTest, ResourcesClassified) {
  Load(R"({"controllers": [{"name": "DIRECT", "family": "0x112002"}, {"name": "SERVED", "family": "0x113010"},
                           {"name": "SECOND", "family": "0x120001"}, {"name": "OTHER", "family": "0x200000"}]})");
  struct Row {
    const char* controller;
    bool result, served;
    const char* message; // caption suffix of the box shown, or ""
  };
  const Row rows[] = {{"DIRECT", true, false, "(jres:1005)"},
                      {"SERVED", true, true, ""},
                      {"SECOND", true, true, ""},
                      {"OTHER", true, false, "(jres:1003)"}};
  for (const Row& r : rows) {
    platform::ScriptedPresenter boxes;
    bool served = !r.served;
    EXPECT_EQ(W5GRX_CheckResource(platform::kNoWindow, Id(r.controller), served, true, kTr), r.result) << r.controller;
    EXPECT_EQ(served, r.served) << r.controller;
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), *r.message ? 1u : 0u) << r.controller;
    if (*r.message) {
      EXPECT_THAT(shown[0].caption, ::testing::EndsWith(r.message));
    }
  }
  bool served = true;
  // Without messages asked for: none.
  {
    platform::ScriptedPresenter boxes;
    EXPECT_TRUE(W5GRX_CheckResource(platform::kNoWindow, Id("OTHER"), served, false, kTr));
    EXPECT_TRUE(boxes.shown().empty());
  }
  // Inside a transaction the classification runs within its object set; a set that cannot be had
  // ends it.
  GlTransactionId tr = 0;
  ASSERT_EQ(Err(db.gl_TransactionBegin(tr, kTr)), 0u);
  EXPECT_TRUE(W5GRX_CheckResource(platform::kNoWindow, Id("SERVED"), served, false, tr));
  EXPECT_TRUE(served);
  db.InjectFault("gl_ObjectSetGet", 0x20107, 1, 1);
  EXPECT_FALSE(W5GRX_CheckResource(platform::kNoWindow, Id("SERVED"), served, false, tr));
  EXPECT_FALSE(served);
  db.gl_TransactionAbort(tr);
  // The component failing, and missing (registered to a module that does not exist).
  platform::SetEnvironmentValue("W5RC_MODE", "fail");
  EXPECT_FALSE(W5GRX_CheckResource(platform::kNoWindow, Id("SERVED"), served, false, kTr));
  platform::SetEnvironmentValue("W5RC_MODE", "status");
  EXPECT_FALSE(W5GRX_CheckResource(platform::kNoWindow, Id("SERVED"), served, false, kTr));
  platform::RemoveEnvironmentValue("W5RC_MODE");
  Settings("[HKEY_CLASSES_ROOT\\CLSID\\{6A3D2F20-4B7C-4E21-9F3A-1C5D7E9B2A40}\\InprocServer32]\n@=w5nosuch\n");
  platform::ScriptedPresenter boxes;
  EXPECT_FALSE(W5GRX_CheckResource(platform::kNoWindow, Id("SERVED"), served, true, kTr));
  EXPECT_FALSE(served);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_THAT(boxes.shown()[0].caption, ::testing::EndsWith("(jres:1003)"));
  // An identifier that is no object cannot be classified.
  EXPECT_FALSE(W5GRX_CheckResource(platform::kNoWindow, 0x42, served, false, kTr));
}

} // namespace
} // namespace grx::testing
