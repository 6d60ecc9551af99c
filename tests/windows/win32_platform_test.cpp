// The Win32 face of the platform layer where it differs from the POSIX one: modules by name with
// the .dll ending, the registry below the settings file, started programs, the local time, and
// where message boxes are shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/child_process.h"
#include "platform/desktop_box.h"
#include "platform/dialog_presenter.h"
#include "platform/dynamic_library.h"
#include "platform/file_search.h"
#include "platform/help_requests.h"
#include "platform/help_viewer.h"
#include "platform/local_time.h"
#include "platform/process.h"
#include "platform/settings_store.h"
#include "platform/terminal_input.h"
#include "platform/system_messages.h"
#include "platform/system_windows.h"
#include "platform/thread_id.h"
#include "platform/window_handles.h"

namespace grx::platform {
namespace {

TEST(Win32Platform, ModulesAreFoundByNameWithTheDllEnding) {
  EXPECT_EQ(ModuleFileName("Q3JDBMOX"), "Q3JDBMOX.dll");
  EXPECT_EQ(ModuleFileName("w5lresax.dll"), "w5lresax.dll");
  std::string error;
  const Module kernel = Module::Load("kernel32", &error);
  ASSERT_TRUE(kernel) << error;
  EXPECT_NE(kernel.Find("GetCurrentProcessId"), nullptr);
  EXPECT_EQ(kernel.Find("NoSuchFunction"), nullptr);
  EXPECT_FALSE(Module::Load("grx_no_such_module", &error));
  EXPECT_NE(error.find("not found"), std::string::npos) << error;
  EXPECT_FALSE(ModuleFileOf(reinterpret_cast<const void*>(&ModuleFileName)).empty());
}

TEST(Win32Platform, TheRegistryAnswersWhatTheSettingsFileDoesNotHold) {
  // Every Windows installation (and wine) names its system root here.
  const auto root =
      ReadSettingText(Hive::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot");
  ASSERT_TRUE(root.has_value());
  EXPECT_FALSE(root->empty());
  const auto folder = std::filesystem::temp_directory_path() / "grx-win-settings.ini";
  std::ofstream(folder) << "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\n"
                           "SystemRoot=from the file\n";
  SetEnvironmentValue("GRX_SETTINGS_FILE", folder.string());
  EXPECT_EQ(ReadSettingText(Hive::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"),
            "from the file");
  RemoveEnvironmentValue("GRX_SETTINGS_FILE");
  std::filesystem::remove(folder);
}

TEST(Win32Platform, StartedProgramsEndWithTheirCode) {
  const auto root = EnvironmentValue("SystemRoot").value_or("C:\\windows");
  const std::string cmd = root + "\\system32\\cmd.exe";
  ASSERT_TRUE(FindFirstFile(cmd)) << cmd;
  ChildProcess child = ChildProcess::Start(cmd, "/c exit 7");
  ASSERT_TRUE(child);
  EXPECT_TRUE(child.Wait(20000));
  EXPECT_EQ(child.ExitCode(), 7u);
  EXPECT_FALSE(child.Terminate(1)); // it has ended
  EXPECT_FALSE(ChildProcess::Start(root + "\\no-such-program.exe", ""));
}

// A started program inherits no handle of ours: a file we opened (the C library opens files with
// handles that could be inherited) and closed again can go while the program still runs.
TEST(Win32Platform, StartedProgramsInheritNoHandle) {
  const auto folder = std::filesystem::temp_directory_path() / "grx-win-inherit";
  std::filesystem::create_directories(folder);
  const auto held = folder / "held.txt", out = folder / "out.txt", stop = folder / "stop";
  SetEnvironmentValue("CHILD_PROBE_OUT", out.string());
  SetEnvironmentValue("CHILD_PROBE_STOP", stop.string());
  std::FILE* file = std::fopen(held.string().c_str(), "w");
  ASSERT_NE(file, nullptr);
  const auto probe = std::filesystem::path(ExecutableFile()).parent_path() / "child_probe.exe";
  ChildProcess child = ChildProcess::Start(probe.string(), "");
  ASSERT_TRUE(child) << probe;
  for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::fclose(file);
  std::error_code error;
  EXPECT_TRUE(std::filesystem::remove(held, error)) << error.message();
  std::ofstream(stop) << "stop\n";
  EXPECT_TRUE(child.Wait(20000));
  RemoveEnvironmentValue("CHILD_PROBE_OUT");
  RemoveEnvironmentValue("CHILD_PROBE_STOP");
  std::filesystem::remove_all(folder, error);
}

// A program with standard streams (a test, grx) never waits for a box on the desktop: it asks on
// its terminal or answers by default. A windowed host, without streams, gets MessageBoxA.
TEST(Win32Platform, ProgramsWithStandardStreamsShowNoDesktopBoxes) {
  EXPECT_FALSE(DesktopBoxesShown());
  MessageBoxRequest box;
  box.caption = "Installation error";
  box.text = "Q3JDBMOX.DLL is missing.";
  box.buttons = BoxButtons::RetryCancel;
  const auto input = ScopedStandardInput::FromNullDevice();
  ASSERT_TRUE(input.ok());
  EXPECT_EQ(ShowMessageBox(box), BoxAnswer::Retry);
}

// The desktop box of that caption once another thread shows it; kNoWindow after ten seconds.
WindowHandle WaitForDesktopBox(const std::string& caption) {
  WindowHandle shown = kNoWindow;
  for (int i = 0; i < 500 && shown == kNoWindow; ++i) {
    shown = FindDesktopBox(caption);
    if (shown == kNoWindow) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return shown;
}

// A windowed host's box is the library's own modal dialog: owned by the top-level owner of the
// window given (disabled while it is open), its items laid out by its buttons, labelled as asked,
// the help button calling the help and leaving the box open. Pressed here from another thread.
TEST(Win32Platform, DesktopBoxesAreModalDialogsOfTheirOwner) {
  HelpRequestListener viewer; // a window of the system, and the help the box's button asks for
  ASSERT_TRUE(viewer.Listening()) << "the Windows tests need a display";
  const WindowHandle owner = viewer.Window();
  MessageBoxRequest box;
  box.owner = owner;
  box.caption = "Import (jres:1039)";
  box.text = "The import had errors.";
  box.secondText = "Keep its result?";
  box.icon = BoxIcon::Question;
  box.buttons = BoxButtons::YesNoCancel;
  box.buttonLabels = {"Ja", "Nein", "Abbrechen"};
  box.helpContext = 0x30000 | 1039;
  int helped = 0;
  box.onHelp = [&] {
    ++helped;
    WinHelpA(owner, "C:\\help\\w5grxmha.hlp", HELP_CONTEXT, box.helpContext);
  };
  struct Seen {
    bool ownerEnabled = true;
    DesktopBoxItem yes, no, cancel, help, text, second;
  } seen;
  std::thread person([&] {
    const WindowHandle shown = WaitForDesktopBox(box.caption);
    if (shown == kNoWindow) return;
    seen.ownerEnabled = system::IsSystemWindowEnabled(owner);
    seen.yes = DesktopBoxItemOf(shown, 1);
    seen.no = DesktopBoxItemOf(shown, 7);
    seen.cancel = DesktopBoxItemOf(shown, 2);
    seen.help = DesktopBoxItemOf(shown, 9);
    seen.second = DesktopBoxItemOf(shown, 6602);
    PressDesktopBoxItem(shown, 9); // help: the box stays
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    PressDesktopBoxItem(shown, 7);
  });
  const BoxAnswer answer = ShowDesktopMessageBox(box);
  person.join();
  EXPECT_EQ(answer, BoxAnswer::No);
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_TRUE(system::IsSystemWindowEnabled(owner)); // enabled again once the box is gone
  EXPECT_TRUE(seen.yes.shown);
  EXPECT_EQ(seen.yes.text, "Ja");
  EXPECT_EQ(seen.no.text, "Nein");
  EXPECT_EQ(seen.cancel.text, "Abbrechen");
  EXPECT_TRUE(seen.help.shown);
  EXPECT_LT(seen.cancel.left, seen.help.left); // Cancel keeps its place beside the help button
  EXPECT_TRUE(seen.second.shown);
  EXPECT_EQ(seen.second.text, "Keep its result?");
  EXPECT_EQ(helped, 1);
  const auto requests = viewer.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].data, 0x30000u | 1039u);

  // OK and Cancel without help or second text: No hidden, Cancel in the help button's place.
  MessageBoxRequest plain;
  plain.owner = owner;
  plain.caption = "Version check (jres:1054)";
  plain.text = "Stamped by an older release.";
  plain.buttons = BoxButtons::OkCancel;
  Seen other;
  std::thread closer([&] {
    const WindowHandle shown = WaitForDesktopBox(plain.caption);
    if (shown == kNoWindow) return;
    other.yes = DesktopBoxItemOf(shown, 1);
    other.no = DesktopBoxItemOf(shown, 7);
    other.cancel = DesktopBoxItemOf(shown, 2);
    other.help = DesktopBoxItemOf(shown, 9);
    other.text = DesktopBoxItemOf(shown, 6601);
    other.second = DesktopBoxItemOf(shown, 6602);
    EXPECT_FALSE(PressDesktopBoxItem(shown, 9)); // no help button to press
    PressDesktopBoxItem(shown, 2);
  });
  EXPECT_EQ(ShowDesktopMessageBox(plain), BoxAnswer::Cancel);
  closer.join();
  EXPECT_EQ(other.yes.text, "OK");
  EXPECT_FALSE(other.no.shown);
  EXPECT_TRUE(other.cancel.shown);
  EXPECT_FALSE(other.help.shown);
  EXPECT_GT(other.cancel.left, seen.cancel.left); // in the help button's place
  EXPECT_FALSE(other.second.shown);

  // A text shorter than its room sits in its middle; a longer one keeps the room and scrolls.
  std::string story;
  for (int i = 0; i < 40; ++i) story += "The import of block type " + std::to_string(i) + " reported an error. ";
  MessageBoxRequest longer = plain;
  longer.caption = "Import (jres:1032)";
  longer.text = story;
  DesktopBoxItem shortText, longText;
  std::thread reader([&] {
    const WindowHandle shown = WaitForDesktopBox(longer.caption);
    if (shown == kNoWindow) return;
    longText = DesktopBoxItemOf(shown, 6601);
    PressDesktopBoxItem(shown, 1);
  });
  EXPECT_EQ(ShowDesktopMessageBox(longer), BoxAnswer::Ok);
  reader.join();
  shortText = other.text;
  EXPECT_TRUE(longText.scrolls);
  EXPECT_FALSE(shortText.scrolls);
  EXPECT_GT(longText.height, 2 * shortText.height); // the room of both texts
  EXPECT_GT(shortText.top, longText.top);           // centred: lower than the room's top
}

// A handle that is none of the library's windows may be one of the OS, as a host hands it over:
// its title and parent come from the OS. The OS's desktop window exists even without a display.
TEST(Win32Platform, WindowsOfTheSystemAreReadThroughTheSystem) {
  const WindowHandle desktop = system::SystemDesktopWindow();
  ASSERT_NE(desktop, kNoWindow);
  EXPECT_TRUE(IsWindowHandle(desktop));
  EXPECT_TRUE(WindowTitle(desktop).has_value());
  EXPECT_EQ(ParentWindow(desktop), kNoWindow);
  // Neither ours nor the system's.
  EXPECT_FALSE(IsWindowHandle(desktop + 0x7FFF0000));
  EXPECT_FALSE(WindowTitle(desktop + 0x7FFF0000).has_value());
  EXPECT_FALSE(IsWindowHandleEnabled(desktop + 0x7FFF0000));
  // The library's own windows keep their titles.
  const WindowHandle own = CreateWindowHandle("Axis1 -- CFC");
  EXPECT_EQ(WindowTitle(own).value_or(""), "Axis1 -- CFC");
  DestroyWindowHandle(own);
}

// The codes of the library's table read the same everywhere; others are the system's own.
TEST(Win32Platform, ErrorTextsOfTheTableAndOfTheSystem) {
  EXPECT_EQ(SystemMessage(5).value_or(""), "Access is denied.\r\n");
  const auto other = SystemMessage(1460); // ERROR_TIMEOUT: not in the table
  ASSERT_TRUE(other.has_value());
  EXPECT_GT(other->size(), 2u);
  EXPECT_EQ(other->substr(other->size() - 2), "\r\n");
  EXPECT_EQ(other->find("\r\n"), other->size() - 2);
  EXPECT_FALSE(SystemMessage(0x2BADC0DE).has_value());
}

TEST(Win32Platform, ClockAndIdentifiers) {
  const LocalTime now = LocalTimeNow();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_NE(CurrentThreadId(), 0u);
  EXPECT_NE(CurrentProcessId(), 0u);
  SetEnvironmentValue("GRX_WIN_TEST_VALUE", "x y");
  EXPECT_EQ(EnvironmentValue("GRX_WIN_TEST_VALUE"), "x y");
  RemoveEnvironmentValue("GRX_WIN_TEST_VALUE");
  EXPECT_FALSE(EnvironmentValue("GRX_WIN_TEST_VALUE").has_value());
}

} // namespace
} // namespace grx::platform
