// The task and block-type imports as a host runs them: the import components of w5imcmpx with a
// catalogue of the test's own, transactions opened by the imports or given by the caller, the
// boxes they ask, the log the import host saves, and failures of the chart database and of the
// components.
#include <filesystem>
#include <fstream>

#include "blob/blob_block_type.h"
#include "blob/blob_resource.h"
#include "blob/blob_task.h"
#include "grx/w5lhlpax.h"
#include "platform/com_lite.h"
#include "platform/dialog_presenter.h"
#include "platform/process.h"
#include "recording_trace.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using platform::BoxAnswer;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kCatalogue = R"({"format": "grx-block-catalogue/1", "packages": [
  {"name": "Motion.1", "version": "V1.0", "interfaceGuid": "{6A3D2F50-0000-0000-0000-000000000001}",
   "blockTypes": [
     {"name": "MX_ENABLE", "comment": "Enables an axis", "category": 2, "inputCount": 1,
      "parameters": [{"name": "EN", "type": "BOOL", "default": "FALSE"}, {"name": "OK", "direction": "out", "type": "BOOL"}]},
     {"name": "MX_SCALE", "kind": "function",
      "parameters": [{"name": "IN", "type": "REAL"}, {"name": "OUT", "direction": "out", "type": "REAL"}]}]},
  {"name": "Drives", "version": "V2.0", "blockTypes": [{"name": "DX_SPEED", "parameters": [{"name": "SP", "type": "REAL"}]}]}
]})";

class BlockTypeImportTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R"}, {"name": "S"}]})");
    fs::create_directories(folder_);
    Catalogue(kCatalogue);
    platform::SetEnvironmentValue("W5IMCMPX_CATALOGUE", (folder_ / "catalogue.json").string());
    platform::SetEnvironmentValue("W5IMCMPX_LOG", (folder_ / "import.log").string());
    platform::SetEnvironmentValue("GRX_SETTINGS_FILE", (folder_ / "settings.ini").string());
    db.ResetCallCounts();
  }
  void TearDown() override {
    for (const char* name : {"W5IMCMPX_CATALOGUE", "W5IMCMPX_LOG", "W5IMCMPX_MODE", "GRX_SETTINGS_FILE"}) {
      platform::RemoveEnvironmentValue(name);
    }
    fs::remove_all(folder_);
    StandInTest::TearDown();
  }

  void Catalogue(const std::string& text) { std::ofstream(folder_ / "catalogue.json") << text; }
  void Settings(const std::string& text) { std::ofstream(folder_ / "settings.ini") << text; }
  bool Exists(const std::string& path) {
    GlObjectId id = 0;
    return db.ResolvePath(path.c_str(), &id) == 0;
  }
  // The lines of the log the import host saved, as "E|W|I text".
  std::vector<std::string> SavedLog() {
    std::ifstream in(folder_ / "import.log");
    std::vector<std::string> lines;
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "grx-log 1");
    while (std::getline(in, line)) lines.push_back(line.substr(0, 1) + " " + line.substr(2));
    return lines;
  }
  // The texts of the boxes shown while the call runs, as "MESSAGE-ID: TEXT".
  template <class Call>
  std::vector<std::string> Boxes(std::vector<BoxAnswer> answers, Call&& call) {
    platform::ScriptedPresenter boxes(std::move(answers));
    call();
    std::vector<std::string> texts;
    for (const auto& box : boxes.shown()) {
      const std::size_t jres = box.caption.find("(jres:");
      texts.push_back((jres == std::string::npos ? box.caption : box.caption.substr(jres + 6)) + " " + box.text + " " +
                      box.secondText);
    }
    return texts;
  }
  RESPONSE ImportTypes(const std::string& controller, bool quiet, GlTransactionId tr = kNoTransaction) {
    int started = 0;
    const RESPONSE result = W5GRX_ASBlockTypeImport(platform::kNoWindow, Id(controller), quiet, &started, tr);
    EXPECT_EQ(started, 1);
    return result;
  }
  void AddPackage(const std::string& controller, const std::string& name, const std::string& version,
                  const char* interfaceGuid, const char* rtGuid = "{00000000-0000-0000-0000-000000000000}") {
    CBlobResource record(Id(controller), kTr);
    record.AddLibElement(name, version, 7, *platform::GuidFromString(rtGuid), *platform::GuidFromString(interfaceGuid),
                         true, {});
    record.Write(Id(controller), kTr);
  }

  fs::path folder_ = fs::temp_directory_path() / ("grx-import-test-" + std::to_string(platform::CurrentProcessId()));
};

TEST_F(BlockTypeImportTest, TaskImportInItsOwnTransaction) {
  std::vector<std::string> boxes =
      Boxes({}, [&] { EXPECT_EQ(W5GRX_ASTaskImport(platform::kNoWindow, Id("R"), false, kNoTransaction), 0); });
  EXPECT_THAT(boxes, IsEmpty());
  const std::pair<const char*, std::uint32_t> expected[] = {{"T1", 1}, {"T2", 2}, {"T3", 4}, {"T4", 8}, {"T5", 16}};
  for (const auto& [name, taskId] : expected) {
    CBlobTask record(Id(std::string("R/#") + name), kTr);
    EXPECT_EQ(record.GetTaskId(), taskId) << name;
    EXPECT_EQ(record.GetName(), "") << name;
  }
  EXPECT_EQ(db.CallCount("gl_TransactionBegin"), 1u);
  EXPECT_EQ(db.CallCount("gl_TransactionCommit"), 1u);
  EXPECT_EQ(db.CallCount("gl_RunSeqPtrSet"), 1u); // the second task only
  EXPECT_EQ(db.CallCount("iec_TaskWrite"), 5u);
}

TEST_F(BlockTypeImportTest, TaskImportInTheCallersTransactionKeepsAnExistingTask) {
  Iec_Task t3{};
  std::snprintf(t3.name, sizeof t3.name, "T3");
  GlObjectId existing = 0;
  ASSERT_EQ(Err(db.iec_TaskWrite(Id("R"), t3, existing, kTr)), 0u);
  GlTransactionId tr = kNoTransaction;
  ASSERT_EQ(Err(db.gl_TransactionBegin(tr, kNoTransaction)), 0u);
  db.ResetCallCounts();
  EXPECT_THAT(Boxes({}, [&] { EXPECT_EQ(W5GRX_ASTaskImport(platform::kNoWindow, Id("R"), true, tr), 0); }),
              IsEmpty()); // 0x10003 is not reported
  EXPECT_EQ(db.CallCount("gl_TransactionBegin"), 0u);
  EXPECT_EQ(db.CallCount("gl_TransactionCommit"), 0u);
  EXPECT_EQ(Id("R/#T3"), existing);
  EXPECT_EQ(CBlobTask(existing, tr).GetTaskId(), 4u);
  // Everything lies in the caller's transaction.
  ASSERT_EQ(Err(db.gl_TransactionAbort(tr)), 0u);
  EXPECT_FALSE(Exists("R/#T1"));
  EXPECT_TRUE(Exists("R/#T3"));
  EXPECT_FALSE(CBlobTask(existing, kTr).GetTaskId() == 4u);
}

TEST_F(BlockTypeImportTest, TaskImportGoesOnPastFailingCalls) {
  db.InjectFault("iec_TaskWrite", 0x20103, 2, 1); // T2
  db.InjectFault("gl_RunSeqPtrSet", 0x20103, 1, 0);
  const auto boxes =
      Boxes({}, [&] { EXPECT_EQ(W5GRX_ASTaskImport(platform::kNoWindow, Id("R"), false, kNoTransaction), 0); });
  ASSERT_EQ(boxes.size(), 1u); // T2 cannot be written, so it is not linked either
  EXPECT_THAT(boxes[0], AllOf(HasSubstr("1032"), HasSubstr("iec_TaskWrite T2 (0x20103)")));
  EXPECT_FALSE(Exists("R/#T2"));
  EXPECT_EQ(CBlobTask(Id("R/#T5"), kTr).GetTaskId(), 16u);

  db.ClearFaults();
  db.InjectFault("gl_RunSeqPtrSet", 0x20103, 1, 0);
  const auto linked =
      Boxes({}, [&] { EXPECT_EQ(W5GRX_ASTaskImport(platform::kNoWindow, Id("S"), false, kNoTransaction), 0); });
  ASSERT_EQ(linked.size(), 1u);
  EXPECT_THAT(linked[0], HasSubstr("gl_RunSeqPtrSet T2 (0x20103)"));
  EXPECT_EQ(CBlobTask(Id("S/#T2"), kTr).GetTaskId(), 2u);
}

TEST_F(BlockTypeImportTest, TaskImportWithAMissingComponentCreatesNothing) {
  Settings("[HKEY_CLASSES_ROOT\\CLSID\\{6A3D2F42-4B7C-4E21-9F3A-1C5D7E9B2A40}\\InprocServer32]\n@=w5nosuch\n");
  const auto boxes =
      Boxes({}, [&] { EXPECT_EQ(W5GRX_ASTaskImport(platform::kNoWindow, Id("R"), false, kNoTransaction), 1); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_THAT(boxes[0], AllOf(HasSubstr("1032"), HasSubstr("(HRESULT) 0x")));
  EXPECT_FALSE(Exists("R/#T1"));
  EXPECT_EQ(db.CallCount("gl_TransactionCommit"), 1u); // the task import always commits its own
}

TEST_F(BlockTypeImportTest, BlockTypeImportCreatesTheCataloguesTypes) {
  EXPECT_THAT(Boxes({}, [&] { EXPECT_EQ(ImportTypes("R", true), RESPONSE_OK); }), IsEmpty());
  EXPECT_EQ(db.CallCount("gl_TransactionCommit"), 1u);
  EXPECT_TRUE(Exists("R/%MX_ENABLE.EN"));
  EXPECT_TRUE(Exists("R/%MX_ENABLE.OK"));
  EXPECT_TRUE(Exists("R/%MX_SCALE.OUT"));
  EXPECT_TRUE(Exists("R/%DX_SPEED.SP"));
  CBlobBlockType record(Id("R/%MX_ENABLE"), kTr);
  EXPECT_EQ(record.GetLibrary(), "Motion.1");
  EXPECT_EQ(record.GetLibraryPureName(), "Motion");
  EXPECT_EQ(record.GetBlockCat(), BLKCAT_LIB);
  EXPECT_EQ(record.GetInputCount(), 1);
  CBlobResource resource(Id("R"), kTr);
  EXPECT_THAT(resource.GetNames(), ElementsAre("Motion.1", "Drives"));
  const auto log = SavedLog();
  EXPECT_THAT(log, Contains("I Block type MX_ENABLE created."));
  EXPECT_THAT(log, Contains("I Technology package Drives V2.0: 1 block type(s)"));
  EXPECT_THAT(log, Contains(HasSubstr("I Started: ")));
  EXPECT_EQ(log.back(), "I 0 error(s), 0 warning(s)");
  EXPECT_FALSE(Exists("S/%MX_ENABLE")); // only the controller imported for

  // Again: nothing to change, so the runner answers 2; no question, the transaction rolled back.
  db.ResetCallCounts();
  EXPECT_THAT(Boxes({}, [&] { EXPECT_EQ(ImportTypes("R", false), RESPONSE_OTHER); }), IsEmpty());
  EXPECT_EQ(db.CallCount("gl_TransactionAbort"), 1u);
  EXPECT_EQ(db.CallCount("gl_TransactionCommit"), 0u);
  EXPECT_THAT(SavedLog(), Contains("I Block type MX_ENABLE is up to date."));
}

TEST_F(BlockTypeImportTest, BlockTypeImportUpdatesTypesItFindsInTheController) {
  ASSERT_EQ(ImportTypes("R", true), RESPONSE_OK);
  std::string changed = kCatalogue;
  changed.replace(changed.find(R"("default": "FALSE")"), 18, R"("default": "TRUE")");
  changed.replace(changed.find(R"({"name": "SP", "type": "REAL"})"), 30,
                  R"({"name": "SP", "type": "REAL"}, {"name": "RAMP", "type": "TIME"})");
  Catalogue(changed);
  EXPECT_EQ(ImportTypes("R", true), RESPONSE_OK);
  const auto log = SavedLog();
  EXPECT_THAT(log, Contains("I Block type MX_ENABLE updated (1 change(s))."));
  EXPECT_THAT(log, Contains("I Block type DX_SPEED updated (1 change(s))."));
  EXPECT_THAT(log, Contains("I Block type MX_SCALE is up to date."));
  EXPECT_TRUE(Exists("R/%DX_SPEED.RAMP"));
}

TEST_F(BlockTypeImportTest, ErrorsAskWhetherToKeepTheResult) {
  Catalogue(R"({"format": "grx-block-catalogue/1", "packages": [{"name": "P", "blockTypes": [
    {"name": "GOOD"}, {"name": "BAD/NAME"}]}]})");
  // No keeps nothing.
  auto boxes = Boxes({BoxAnswer::No}, [&] { EXPECT_EQ(ImportTypes("R", true), RESPONSE_FAILED); });
  EXPECT_THAT(boxes, ElementsAre(HasSubstr("1039")));
  EXPECT_EQ(db.CallCount("gl_TransactionAbort"), 1u);
  EXPECT_FALSE(Exists("R/%GOOD"));
  const auto log = SavedLog();
  EXPECT_THAT(log, Contains(AllOf(HasSubstr("E Block type BAD/NAME cannot be written: "),
                                  HasSubstr("contains a path separator (/ . \\) (0x20103)"))));
  EXPECT_EQ(log.back(), "I 1 error(s), 0 warning(s)");

  // Yes keeps what went in.
  db.ResetCallCounts();
  boxes = Boxes({BoxAnswer::Yes}, [&] { EXPECT_EQ(ImportTypes("R", true), RESPONSE_OK); });
  EXPECT_THAT(boxes, ElementsAre(HasSubstr("1039")));
  EXPECT_EQ(db.CallCount("gl_TransactionCommit"), 1u);
  EXPECT_TRUE(Exists("R/%GOOD"));
}

TEST_F(BlockTypeImportTest, APackageTheCatalogueLacksIsAnErrorAndAnotherVersionAWarning) {
  AddPackage("R", "Motion.1", "V0.9", "{6A3D2F50-0000-0000-0000-000000000001}");
  AddPackage("R", "Unknown", "V1", "{6A3D2F50-0000-0000-0000-000000000009}");
  GlTransactionId tr = kNoTransaction;
  ASSERT_EQ(Err(db.gl_TransactionBegin(tr, kNoTransaction)), 0u);
  db.ResetCallCounts();
  const auto boxes = Boxes({BoxAnswer::No}, [&] { EXPECT_EQ(ImportTypes("R", true, tr), RESPONSE_FAILED); });
  EXPECT_THAT(boxes, ElementsAre(HasSubstr("1039")));
  EXPECT_EQ(db.CallCount("gl_TransactionAbort"), 0u); // the caller's transaction stays
  EXPECT_TRUE(Exists("R/%MX_ENABLE"));                // within it
  EXPECT_FALSE(Exists("R/%DX_SPEED"));                // not a package of the controller
  const auto log = SavedLog();
  EXPECT_THAT(log, Contains("E The technology package Unknown is not in the block-type catalogue."));
  EXPECT_THAT(log, Contains("W The controller uses Motion.1 V0.9, the catalogue has version V1.0."));
  db.gl_TransactionAbort(tr);
}

TEST_F(BlockTypeImportTest, FailingComponentsShowTheirHresult) {
  const std::pair<const char*, const char*> cases[] = {
      {"fail-open", "(HRESULT) 0x80004005"}, {"fail-run", "(HRESULT) 0x80004005"}, {"", "(HRESULT) 0x80070002"}};
  for (const auto& [mode, text] : cases) {
    platform::SetEnvironmentValue("W5IMCMPX_MODE", mode);
    if (!*mode) platform::SetEnvironmentValue("W5IMCMPX_CATALOGUE", (folder_ / "missing.json").string());
    db.ResetCallCounts();
    const auto boxes = Boxes({}, [&] { EXPECT_EQ(ImportTypes("R", false), RESPONSE_FAILED); });
    ASSERT_EQ(boxes.size(), 1u) << mode;
    EXPECT_THAT(boxes[0], AllOf(HasSubstr("1032"), HasSubstr(text))) << mode;
    EXPECT_EQ(db.CallCount("gl_TransactionAbort"), 1u) << mode;
    EXPECT_FALSE(Exists("R/%MX_ENABLE")) << mode;
  }
  platform::SetEnvironmentValue("W5IMCMPX_CATALOGUE", (folder_ / "catalogue.json").string());
  // Not a catalogue: another format, a number beyond every range, a member the format lacks.
  for (const char* text :
       {R"({"format": "something else"})", R"({"format": 1e999})",
        R"({"format": "grx-block-catalogue/1", "packages": [{"name": "P", "blockTypes": [], "x": 1}]})"}) {
    Catalogue(text);
    const auto boxes = Boxes({}, [&] { EXPECT_EQ(ImportTypes("R", false), RESPONSE_FAILED); });
    ASSERT_EQ(boxes.size(), 1u) << text;
    EXPECT_THAT(boxes[0], HasSubstr("(HRESULT) 0x8007000D")) << text;
    EXPECT_THAT(SavedLog(), ElementsAre(HasSubstr("E "))) << text;
  }
}

TEST_F(BlockTypeImportTest, ALogViewIsOptional) {
  platform::SetEnvironmentValue("W5IMCMPX_MODE", "no-log-view");
  EXPECT_THAT(Boxes({}, [&] { EXPECT_EQ(ImportTypes("R", false), RESPONSE_OK); }), IsEmpty());
  EXPECT_TRUE(Exists("R/%MX_ENABLE"));
}

class CopyBlockTypeImportTest : public BlockTypeImportTest {
protected:
  void SetUp() override {
    BlockTypeImportTest::SetUp();
    ZEB::CObject::SetTrace(&trace_);
  }
  void TearDown() override {
    ZEB::CObject::ResetTrace();
    BlockTypeImportTest::TearDown();
  }
  bool Copy() { return W5GRX_CopyBlockTypeImport(platform::kNoWindow, 0, Id("S"), Id("R"), kTr); }
  std::vector<std::string> Traced() {
    std::vector<std::string> lines;
    for (const auto& line : trace_.lines) {
      if (line.rfind("1 W5GRX_CopyBlockTypeImport: ", 0) == 0) lines.push_back(line.substr(29));
    }
    return lines;
  }
  std::vector<std::string> TargetPackages() { return CBlobResource(Id("S"), kTr).GetNames(); }

  RecordingTrace trace_;
};

TEST_F(CopyBlockTypeImportTest, PackagesWithAPartnerAreNotCopied) {
  AddPackage("R", "ABC.1", "V1", "{6A3D2F50-0000-0000-0000-000000000001}");
  AddPackage("R", "XKORVALEN1", "V1", "{6A3D2F50-0000-0000-0000-000000000002}");
  AddPackage("R", "Other", "V1", "{6A3D2F50-0000-0000-0000-000000000003}");
  AddPackage("S", "abc[2]", "V1", "{6A3D2F50-0000-0000-0000-000000000001}");
  AddPackage("S", "xkorvalen2", "V1", "{6A3D2F50-0000-0000-0000-000000000009}");
  AddPackage("S", "Different", "V1", "{6A3D2F50-0000-0000-0000-000000000003}");
  const auto before = db.CallCount("iec_BlobWrite");
  EXPECT_TRUE(Copy());
  EXPECT_EQ(db.CallCount("iec_BlobWrite"), before); // nothing written
  EXPECT_THAT(TargetPackages(), ElementsAre("abc[2]", "xkorvalen2", "Different"));
  EXPECT_THAT(
      Traced(),
      ElementsAre("same TP name ABC.1, abc[2] found", "same TP name ,rtguid, version ABC.1, abc[2] found",
                  "full compatible TPs ABC.1, abc[2] found", " TP with compatible name XKORVALEN1, xkorvalen2 found",
                  "in interface compatible TPs Other, Different found"));
  EXPECT_FALSE(fs::exists(folder_ / "import.log")); // no import ran
}

TEST_F(CopyBlockTypeImportTest, NameCompatibleClassesByRuntimeGuidVersionAndInterface) {
  AddPackage("R", "ABC.1", "V1", "{6A3D2F50-0000-0000-0000-000000000001}", "{6A3D2F50-0000-0000-0000-0000000000A1}");
  AddPackage("R", "DEF", "V1", "{6A3D2F50-0000-0000-0000-000000000002}");
  AddPackage("S", "ABC", "V2", "{6A3D2F50-0000-0000-0000-000000000001}", "{6A3D2F50-0000-0000-0000-0000000000A1}");
  AddPackage("S", "def", "V1", "{6A3D2F50-0000-0000-0000-000000000007}");
  EXPECT_TRUE(Copy());
  EXPECT_THAT(Traced(), ElementsAre("same TP name ABC.1, ABC found", "name compatible TPs ABC.1, ABC found",
                                    "same TP name DEF, def found", "same TP name ,rtguid, version DEF, def found",
                                    "name compatible TPs DEF, def found"));
}

TEST_F(CopyBlockTypeImportTest, NewPackagesAreAddedAndImportedForTheTarget) {
  AddPackage("R", "Motion.1", "V1.0", "{6A3D2F50-0000-0000-0000-000000000001}");
  AddPackage("S", "Drives", "V2.0", "{6A3D2F50-0000-0000-0000-000000000005}");
  EXPECT_THAT(Boxes({}, [&] { EXPECT_TRUE(Copy()); }), IsEmpty()); // no question, even with errors
  EXPECT_THAT(TargetPackages(), ElementsAre("Drives", "Motion.1"));
  EXPECT_TRUE(Exists("S/%MX_ENABLE"));
  EXPECT_TRUE(Exists("S/%DX_SPEED"));
  EXPECT_FALSE(Exists("R/%MX_ENABLE"));
  EXPECT_THAT(SavedLog(), Contains(HasSubstr("I Ended: ")));
}

TEST_F(CopyBlockTypeImportTest, IntoATargetWithoutPackagesEverythingGoesAndFromASourceWithoutNothing) {
  EXPECT_TRUE(Copy()); // the source has none: nothing happens
  EXPECT_THAT(TargetPackages(), IsEmpty());
  EXPECT_FALSE(fs::exists(folder_ / "import.log"));
  AddPackage("R", "Motion.1", "V1.0", "{6A3D2F50-0000-0000-0000-000000000001}");
  AddPackage("R", "Drives", "V2.0", "{6A3D2F50-0000-0000-0000-000000000001}"); // same interface as Motion.1
  EXPECT_TRUE(Copy());
  EXPECT_THAT(TargetPackages(), ElementsAre("Motion.1", "Drives"));
  EXPECT_THAT(Traced(), IsEmpty()); // nothing compared
  EXPECT_TRUE(Exists("S/%DX_SPEED"));
}

TEST_F(CopyBlockTypeImportTest, FailingComponentsAnswerFalse) {
  AddPackage("R", "Motion.1", "V1.0", "{6A3D2F50-0000-0000-0000-000000000001}");
  platform::SetEnvironmentValue("W5IMCMPX_MODE", "fail-open");
  EXPECT_THAT(Boxes({}, [&] { EXPECT_FALSE(Copy()); }), IsEmpty());
  EXPECT_THAT(TargetPackages(), ElementsAre("Motion.1")); // the record was written before
  platform::RemoveEnvironmentValue("W5IMCMPX_MODE");
  Settings("[HKEY_CLASSES_ROOT\\CLSID\\{6A3D2F42-4B7C-4E21-9F3A-1C5D7E9B2A40}\\InprocServer32]\n@=w5nosuch\n");
  AddPackage("R", "Drives", "V2.0", "{6A3D2F50-0000-0000-0000-000000000005}");
  EXPECT_FALSE(Copy());
}

} // namespace
} // namespace grx::testing
