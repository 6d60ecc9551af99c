// Online help: the help file of the user's language below the installation, opened with WinHelp
// (".hlp") or HTML Help at a context.
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/export_bodies.h"
#include "helpfuncs/string_setting.h"
#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "platform/file_search.h"
#include "platform/help_viewer.h"
#include "w5lres/resource_numbers.h"
#include "w5tool/w5toolax.h"

namespace grx::body {
namespace {

constexpr const char* kDefaultHelpBase = "w5grxmhx";

// A path handed out by W5GRX_SetHelpFileName, released on every way out.
struct AllocatedPath {
  char* text = nullptr;
  ~AllocatedPath() { std::free(text); }
};

} // namespace

int W5GRX_SetHelpFileName(const char* baseName, char** helpFile) {
  char installPath[260] = {0};
  if (W5TL_GetQ3InstallPath(installPath) != 0) return 0;
  std::string helpDirectory;
  if (!helpfuncs::ReadStringSetting(w5tl::kHkeyLocalMachine, "Software\\Halvorn\\ORBIX\\2.0\\General\\Paths",
                                    "Q3Help_SDir", helpDirectory)) {
    return 0;
  }
  std::string path = std::string(installPath) + "\\" + helpDirectory + "\\";
  std::string name = baseName ? baseName : "";
  char languageName[63] = {0};
  char letter[63] = {0};
  const char language = W5TL_GetSelectedLanguage(languageName, letter) == 0 && letter[0] ? letter[0] : 'b';
  if (!name.empty()) name.back() = language;
  path += name + ".hlp";
  if (helpFile && !path.empty()) *helpFile = ::strdup(path.c_str());
  return 1;
}

int W5GRX_ShowHelp(grx::platform::WindowHandle window, const char* baseName, std::uint32_t data,
                   std::uint32_t command) {
  AllocatedPath path;
  const char* base = baseName && *baseName ? baseName : kDefaultHelpBase;
  if (!body::W5GRX_SetHelpFileName(base, &path.text) || !path.text) return -1;
  std::string file = path.text;
  const std::size_t dot = file.find('.');
  const bool winHelp = dot != std::string::npos && platform::AnsiEqualNoCase(file.substr(dot), ".hlp");
  // Dialog help identifiers (0x2xxxx) always open at their context.
  const std::uint32_t used = ((data >> 16) & 0xF) == 2 ? platform::HELP_CONTEXT : command;
  if (!platform::FindFirstFile(file)) {
    const std::size_t lastDot = file.rfind('.');
    if (lastDot != std::string::npos && lastDot > 0) file[lastDot - 1] = 'b'; // the fallback language's file
  }
  if (winHelp) return platform::WinHelpA(window, file.c_str(), used, data) ? 0 : -1;
  if (used == 4) return -1;
  const std::uint32_t htmlCommand =
      (command == 11 || (command & 0x8000)) ? platform::HH_DISPLAY_TOC : platform::HH_HELP_CONTEXT;
  platform::HtmlHelpA(window, file.c_str(), htmlCommand, data);
  platform::HH_LAST_ERROR error;
  error.cbStruct = static_cast<std::int32_t>(sizeof error);
  platform::HtmlHelpA(platform::kNoWindow, nullptr, platform::HH_GET_LAST_ERROR,
                      reinterpret_cast<std::uintptr_t>(&error));
  if (error.description) {
    const platform::UniqueBstr description(error.description);
    body::DoCfcMsgBox(window, w5lres::kHelpErrorTitle, CString(platform::Narrow(description.get())), 16, 0);
  }
  return 0;
}

} // namespace grx::body
