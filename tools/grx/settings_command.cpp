// grx settings: the settings the library reads, and where each came from.
#include <nlohmann/json.hpp>

#include "commands.h"
#include "grx_error.h"
#include "terminal_text.h"
#include "platform/com_lite.h"
#include "platform/settings_store.h"
#include "w5tool/w5toolax.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
using platform::Hive;

struct Setting {
  std::string name;
  std::string value;
  std::string origin;
};

std::string Origin(const char* key, const char* valueName, const std::string& fallback) {
  if (platform::ReadSetting(Hive::LocalMachine, key, valueName)) {
    return "settings file: HKEY_LOCAL_MACHINE\\" + std::string(key) + "\\" + valueName;
  }
  return fallback;
}

// A text setting read through the tool library's settings path and string reader.
std::string ToolString(const std::wstring& key, const std::wstring& valueName) {
  w5tl::SettingPath path(w5tl::SettingHkey2Location(w5tl::kHkeyLocalMachine), key);
  path.AppendSubPath(valueName);
  std::wstring value;
  return (w5tl::SettingGetString(path, value) & 0xFFFF) == 0 ? platform::Narrow(value) : std::string();
}

} // namespace

int RunSettings(const Options& options, std::ostream& out) {
  std::vector<Setting> settings;
  char path[260] = {};
  W5TL_GetQ3InstallPath(path);
  settings.push_back(
      {"install path", path,
       Origin("Software\\Halvorn\\ORBIX\\2.0", "InstallPath", "default: the folder of the tool library")});
  char language[63] = {}, letter[63] = {};
  W5TL_GetSelectedLanguage(language, letter);
  settings.push_back({"language", std::string(language) + " (help letter " + letter + ")",
                      Origin("Software\\Halvorn\\ORBIX\\2.0\\General\\Languages", "Current", "default: ENGLISH")});
  std::uint32_t silent = 0;
  const bool silentSet = W5TL_SettingGetValue(18, 1, L"silent-trace", &silent) == 0;
  settings.push_back({"silent-trace", silentSet ? std::to_string(silent) : "off",
                      Origin("Software\\Halvorn\\ORBIX\\2.0\\Settings", "silent-trace", "default: off")});
  const std::string techn = ToolString(L"SOFTWARE\\Halvorn\\KELPO\\CFC", L"TechnVersion");
  settings.push_back({"TechnVersion", techn.empty() ? "(not set)" : techn,
                      Origin("SOFTWARE\\Halvorn\\KELPO\\CFC", "TechnVersion", "not set")});
  const std::string helpDir = ToolString(L"Software\\Halvorn\\ORBIX\\2.0\\General\\Paths", L"Q3Help_SDir");
  settings.push_back({"help directory", helpDir.empty() ? "(not set)" : helpDir,
                      Origin("Software\\Halvorn\\ORBIX\\2.0\\General\\Paths", "Q3Help_SDir", "not set")});
  const std::string viewer =
      ToolString(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\FXBViewer.exe", L"Path");
  settings.push_back(
      {"help viewer folder", viewer.empty() ? "(not set)" : viewer,
       Origin("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\FXBViewer.exe", "Path", "not set")});

  const std::string file = platform::SettingsFile();
  if (options.json) {
    Json j;
    j["settingsFile"] = file;
    for (const auto& s : settings)
      j["settings"].push_back(Json{{"name", s.name}, {"value", s.value}, {"origin", s.origin}});
    out << JsonText(j) << "\n";
  } else {
    out << "settings file: " << (file.empty() ? "(none: GRX_SETTINGS_FILE is not set)" : file) << "\n";
    for (const auto& s : settings) out << "  " << s.name << ": " << s.value << "   [" << s.origin << "]\n";
  }
  return kExitOk;
}

} // namespace grx::cli
