// The help file of the user's language below the installation, and how it is opened.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "grx/w5lhlpax.h"
#include "platform/dialog_presenter.h"
#include "platform/help_requests.h"
#include "platform/process.h"
#include "platform/terminal_input.h"
#include "program_run.h"
#include "standin_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;

class OnlineHelpTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::create_directories(folder_ / "inst" / "help");
    // One line per file shown: its text and the context.
    Settings("GERMAN", Viewer());
  }
  void TearDown() override {
    platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
    fs::remove_all(folder_);
  }

  // Settings with the installation, the help directory, the language and the viewer command.
  void Settings(const std::string& language, const std::string& viewer, bool helpDirectory = true) {
    std::ofstream(folder_ / "settings.ini")
        << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0]\nInstallPath=" << (folder_ / "inst").string() << "\n"
        << (helpDirectory ? "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Paths]\nQ3Help_SDir=help\n"
                          : "")
        << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\nCurrent=" << language << "\n"
        << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Help]\nViewerCommand=" << viewer << "\n";
    platform::SetEnvironmentValue("GRX_SETTINGS_FILE", (folder_ / "settings.ini").string());
  }
  // The viewer command: the test's help viewer, which writes what it shows to opened.txt.
  std::string Viewer() const {
    const fs::path probe =
        fs::path(ProgramFolder()) / ("help_viewer_probe" + fs::path(platform::ExecutableFile()).extension().string());
    return "\"" + probe.string() + "\" %1 %2 \"" + (folder_ / "opened.txt").string() + "\"";
  }
  void HelpFile(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / "inst" / "help" / name) << text;
  }
  // What the viewer showed, a line per file: its text and the context. A Win32 build hands the
  // file to the system's WinHelp viewer, whose window the test stands in for; elsewhere the
  // viewer command writes the lines.
  std::string Opened() {
    if (viewer_.Listening()) {
      std::string lines;
      for (const platform::HelpRequest& request : viewer_.Requests()) {
        std::ifstream file(request.file);
        if (!file) continue; // a file the viewer could not open shows nothing
        lines += std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()) + " " +
                 std::to_string(request.data) + "\n";
      }
      return lines;
    }
    std::ifstream in(folder_ / "opened.txt");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The viewer runs in the background: wait until it wrote what it shows.
  std::string OpenedWhenDone(std::size_t lines) {
    for (int i = 0; i < 200; ++i) {
      const std::string text = Opened();
      if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= lines) return text;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Opened();
  }

  fs::path folder_ = fs::temp_directory_path() / ("grx-help-test-" + std::to_string(platform::CurrentProcessId()));
  platform::HelpRequestListener viewer_;
};

TEST_F(OnlineHelpTest, TheHelpFileOfTheLanguage) {
  char* path = nullptr;
  ASSERT_NE(W5GRX_SetHelpFileName("w5grxmhx", &path), 0);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(std::string(path), (folder_ / "inst").string() + "\\help\\w5grxmha.hlp");
  std::free(path);
  Settings("KLINGON", Viewer()); // a language the tool library does not know: English's letter
  path = nullptr;
  ASSERT_NE(W5GRX_SetHelpFileName("w5grxmhx", &path), 0);
  EXPECT_THAT(std::string(path), ::testing::EndsWith("\\help\\w5grxmhb.hlp"));
  std::free(path);
  Settings("GERMAN", Viewer(), false); // no help directory setting
  path = nullptr;
  EXPECT_EQ(W5GRX_SetHelpFileName("w5grxmhx", &path), 0);
  EXPECT_EQ(path, nullptr);
}

TEST_F(OnlineHelpTest, ShownAtItsContextWithTheFallbackFile) {
  HelpFile("w5grxmha.hlp", "german help");
  HelpFile("mybookb.hlp", "english help");
  EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, nullptr, 0x20123, 9), 0);
  EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "mybookx", 17, 1), 0); // no German file: the b file
  const std::string opened = OpenedWhenDone(2);
  EXPECT_NE(opened.find("german help 131363\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find("english help 17\n"), std::string::npos) << opened;
  EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "nosuchx", 1, 1), -1); // neither file exists
  if (viewer_.Listening()) {
    // The system's viewer gets the context command for dialog help whatever command was given.
    const auto requests = viewer_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].command, 1u);
    EXPECT_EQ(requests[0].data, 0x20123u);
    EXPECT_THAT(requests[1].file, ::testing::EndsWith("\\help\\mybookb.hlp"));
    EXPECT_THAT(requests[2].file, ::testing::EndsWith("\\help\\nosuchb.hlp"));
  }
}

TEST_F(OnlineHelpTest, HtmlHelpAndItsErrorBox) {
  platform::ScriptedPresenter boxes;
  if (viewer_.Listening()) {
    // The system's HTML Help: a file it cannot open is not shown and tells no error of its own
    // here; the export answers 0 all the same, and command 4 shows nothing.
    EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "book.chm", 5, 1), 0);
    EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "book.chm", 5, 4), -1);
    EXPECT_TRUE(viewer_.Requests().empty()); // HTML Help is no WinHelp request
    return;
  }
  // A base name with a dot: the path is no ".hlp" file, so HTML Help opens it.
  EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "book.chm", 5, 1), 0);
  ASSERT_EQ(boxes.shown().size(), 1u); // the file is missing: HTML Help's error in a box
  EXPECT_THAT(boxes.shown()[0].caption, ::testing::EndsWith("(jres:509)"));
  EXPECT_THAT(boxes.shown()[0].text, ::testing::HasSubstr("cannot be found"));
  EXPECT_EQ(boxes.shown()[0].icon, platform::BoxIcon::Stop);
  EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "book.chm", 5, 4), -1); // command 4 shows nothing
  EXPECT_EQ(boxes.shown().size(), 1u);
  HelpFile("book.cha.hlp", "html help");
  EXPECT_EQ(W5GRX_ShowHelp(platform::kNoWindow, "book.chm", 5, 11), 0); // the table of contents
  EXPECT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(OpenedWhenDone(1).find("html help 0\n"), std::string::npos);
}

// The help button of a message box opens the default help file at the box's help context.
TEST_F(OnlineHelpTest, TheHelpButtonOfAMessageBox) {
  HelpFile("w5grxmha.hlp", "box help");
  const auto input = platform::ScopedStandardInput::FromTerminalTyping("?\n1\n");
  ASSERT_TRUE(input.ok());
  EXPECT_EQ(DoCfcMsgBox(platform::kNoWindow, 1054, 16, 0x4004), 6);
  EXPECT_NE(OpenedWhenDone(1).find("box help 197662\n"), std::string::npos); // 0x30000 | 1054
}

} // namespace
} // namespace grx::testing
