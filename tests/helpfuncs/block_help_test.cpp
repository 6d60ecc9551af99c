// Help for block types: the viewer's command line from the installation's help path and the
// controller's library languages, the failures that start nothing, and a viewer that is still
// open when the next one starts. The viewer is the build's block help viewer, which writes down
// its arguments and stays open.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "blob/blob_block_type.h"
#include "blob/blob_resource.h"
#include "grx/w5lhlpax.h"
#include "platform/child_process.h"
#include "platform/process.h"
#include "program_run.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProduct = "{7C1E5A40-2D4B-4F6A-8E19-3B0C6D2E4F51}";

class BlockHelpTest : public StandInTest {
protected:
  void SetUp() override {
    StandInTest::SetUp();
    Load(R"({"controllers": [{"name": "R", "blockTypes": [
                 {"name": "MC_POWER", "kind": "functionBlock"}, {"name": "ADD_R", "kind": "function"},
                 {"name": "NOLIB", "kind": "functionBlock"}],
               "charts": [{"name": "C"}]}]})");
    // The block help viewer of the build: it writes "<pid> open <arguments>" to its log and stays
    // open until it is ended or this test program ends.
    fs::create_directories(folder_);
    platform::SetEnvironmentValue("FXBVIEWER_LOG", (folder_ / "viewer.log").string());
    Settings("\\\\Inst\\\\motion\\\\fxb\\\\mc_04_02\\\\");
    Library("MC_POWER", "MotionControl");
    Library("ADD_R", "Standard");
    Language("MotionControl", 22);
  }
  void TearDown() override {
    platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
    platform::RemoveEnvironmentValue("FXBVIEWER_LOG");
    // A viewer still open closes by itself when this test program ends.
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
    StandInTest::TearDown();
  }

  // The installation (its path, one library's product and that product's help path), the viewer's
  // folder, and a mode of the installation object.
  void Settings(const std::string& helpPath, const std::string& mode = "",
                const std::string& viewerFolder = ProgramFolder()) {
    std::ofstream(folder_ / "settings.ini")
        << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0]\nInstallPath=" << (folder_ / "inst").string() << "\n"
        << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\Installation]\nMode=" << mode << "\n"
        << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\Installation\\Libraries]\nMotionControl=" << kProduct
        << "\n[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\Installation\\Products\\" << kProduct
        << "]\nBI_HELP_PATH=" << helpPath << "\n"
        << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\FXBViewer.exe]\nPath="
        << viewerFolder << "\n";
    platform::SetEnvironmentValue("GRX_SETTINGS_FILE", (folder_ / "settings.ini").string());
  }
  void Library(const std::string& type, const std::string& library) {
    CBlobBlockType record(Id("R/%" + type), kTr);
    record.SetLibrary(library);
    record.Write(Id("R/%" + type), kTr);
  }
  void Language(const std::string& library, std::uint32_t languageId) {
    CBlobResource resource(Id("R"), kTr);
    resource.AddLibElement(library, "V1", languageId, {}, {}, true, {});
    resource.Write(Id("R"), kTr);
  }

  // "<pid> <arguments>" of every viewer started.
  std::vector<std::string> Started() {
    std::ifstream in(folder_ / "viewer.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      const std::size_t open = line.find(" open ");
      if (open != std::string::npos) lines.push_back(line.substr(0, open) + line.substr(open + 5));
    }
    return lines;
  }
  // Starts the viewer for a type and waits until it has written its arguments; the line it wrote.
  std::string Show(const std::string& type, const std::string& object = "R") {
    const std::size_t before = Started().size();
    EXPECT_EQ(W5GRX_ShowFBHelp(platform::kNoWindow, Id("R/%" + type), Id(object)), 0) << type;
    for (int i = 0; i < 500 && Started().size() == before; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto lines = Started();
    return lines.size() > before ? lines.back() : std::string();
  }
  static std::uint32_t Pid(const std::string& line) { return static_cast<std::uint32_t>(std::stoul(line)); }
  static std::string Arguments(const std::string& line) { return line.substr(line.find(' ') + 1); }

  fs::path folder_ = fs::temp_directory_path() / ("grx-fbhelp-test-" + std::to_string(platform::CurrentProcessId()));
};

TEST_F(BlockHelpTest, CommandLineFromTheHelpPathAndTheLibraryLanguage) {
  // Doubled backslashes of the help path are single ones on the command line; German from 22.
  EXPECT_EQ(Arguments(Show("MC_POWER")), "-korvalen motion -lib mc_04_02 -comp MC_POWER -lang de");
  // The controller of any object below it tells the language.
  EXPECT_EQ(Arguments(Show("MC_POWER", "R/C")), "-korvalen motion -lib mc_04_02 -comp MC_POWER -lang de");
  const std::pair<std::uint32_t, const char*> switches[] = {{27, "sp"}, {34, "fr"}, {51, "it"}, {9, "en"}};
  for (const auto& [languageId, expected] : switches) {
    CBlobResource cleared(Id("R"), kTr);
    cleared.SetNames({});
    cleared.SetTPVersions({});
    cleared.SetLanguageIds({});
    cleared.SetRtTypeGuids({});
    cleared.SetInterfaceGuids({});
    cleared.SetAreLibs({});
    cleared.SetTypeIDMappedTPs({});
    cleared.Write(Id("R"), kTr);
    Language("motioncontrol", 22); // names match case-sensitively: this one is passed over
    Language("MotionControl", languageId);
    EXPECT_THAT(Show("MC_POWER"), ::testing::EndsWith(std::string(" -lang ") + expected)) << languageId;
  }
  // A library the installation does not know: the standard folder below the installation, and
  // without an element of that name English.
  EXPECT_EQ(Arguments(Show("ADD_R")), "-korvalen korvalen -lib 04_01 -comp ADD_R -lang en");
  // A type without a library record: the same.
  EXPECT_EQ(Arguments(Show("NOLIB")), "-korvalen korvalen -lib 04_01 -comp NOLIB -lang en");
}

TEST_F(BlockHelpTest, ASecondHelpEndsTheViewerStillOpen) {
  const std::string first = Show("MC_POWER");
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(platform::ProcessIsRunning(Pid(first)));
  const std::string second = Show("ADD_R");
  ASSERT_FALSE(second.empty());
  EXPECT_FALSE(platform::ProcessIsRunning(Pid(first)));
  EXPECT_TRUE(platform::ProcessIsRunning(Pid(second)));
}

TEST_F(BlockHelpTest, NothingStartedWithoutInstallationPackageOrBlockType) {
  const auto refused = [&](const std::string& type, const std::string& helpPath, const std::string& mode) {
    Settings(helpPath, mode);
    const std::size_t before = Started().size();
    const int result = W5GRX_ShowFBHelp(platform::kNoWindow, Id(type), Id("R"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return result == -1 && Started().size() == before;
  };
  EXPECT_TRUE(refused("R/%MC_POWER", "\\Inst\\motion\\fxb\\mc_04_02\\", "missing"));      // no installation object
  EXPECT_TRUE(refused("R/%MC_POWER", "\\Inst\\motion\\fxb\\mc_04_02\\", "no-libraries")); // no library interface
  EXPECT_TRUE(refused("R/%MC_POWER", "\\Inst\\motion\\fxb\\mc_04_02\\", "fail"));         // another error than 10
  EXPECT_TRUE(refused("R/%MC_POWER", "\\Inst\\motion\\help\\", ""));                      // no fxb folder: no package
  EXPECT_TRUE(refused("R/C", "\\Inst\\motion\\fxb\\mc_04_02\\", ""));                     // not a block type
}

TEST_F(BlockHelpTest, AViewerThatCannotBeStartedIsStillAnAttempt) {
  fs::create_directories(folder_ / "empty");
  Settings("\\\\Inst\\\\motion\\\\fxb\\\\mc_04_02\\\\", "", (folder_ / "empty").string());
  EXPECT_EQ(W5GRX_ShowFBHelp(platform::kNoWindow, Id("R/%MC_POWER"), Id("R")), 0);
  EXPECT_TRUE(Started().empty());
}

} // namespace
} // namespace grx::testing
