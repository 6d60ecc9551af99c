#include "platform/code_page.h"
#include "platform/settings_store.h"
#include "platform/system_registry.h"

#include "platform/dynamic_library.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>

namespace grx::platform {
namespace {

// The settings choose the process's code page, so their keys fold in the default one.
std::string Lower(const std::string& text) {
  return LowerInCodePage(1252, text);
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string HiveName(Hive hive) {
  switch (hive) {
    case Hive::LocalMachine:
      return "hkey_local_machine";
    case Hive::CurrentUser:
      return "hkey_current_user";
    case Hive::ClassesRoot:
      return "hkey_classes_root";
  }
  return "";
}

} // namespace

std::string SettingsFile() {
  const char* file = std::getenv("GRX_SETTINGS_FILE");
  return file ? file : "";
}

namespace {

std::optional<SettingValue> ReadFromFile(const std::string& file, Hive hive, const std::string& key,
                                         const std::string& valueName) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  const std::string wantedKey = HiveName(hive) + "\\" + Lower(key);
  const std::string wantedValue = Lower(valueName);
  std::string line;
  bool inKey = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      inKey = Lower(Trim(line.substr(1, line.size() - 2))) == wantedKey;
      continue;
    }
    const auto equals = line.find('=');
    if (!inKey || equals == std::string::npos || Lower(Trim(line.substr(0, equals))) != wantedValue) continue;
    const std::string data = Trim(line.substr(equals + 1));
    SettingValue value;
    if (Lower(data).rfind("dword:", 0) == 0) {
      value.kind = SettingValue::Kind::Number;
      value.number = static_cast<std::uint32_t>(std::strtoul(data.c_str() + 6, nullptr, 0));
    } else {
      value.text = data;
    }
    return value;
  }
  return std::nullopt;
}

} // namespace

std::optional<SettingValue> ReadSetting(Hive hive, const std::string& key, const std::string& valueName) {
  if (const std::string file = SettingsFile(); !file.empty()) {
    if (auto value = ReadFromFile(file, hive, key, valueName)) return value;
  }
  if (auto value = system::ReadRegistry(hive, key, valueName)) return value;
  for (const std::string& folder : InstallationFolders()) {
    if (auto value = ReadFromFile(folder + "/registry.ini", hive, key, valueName)) return value;
  }
  return std::nullopt;
}

std::optional<std::string> ReadSettingText(Hive hive, const std::string& key, const std::string& valueName,
                                           std::size_t maxLength) {
  const auto value = ReadSetting(hive, key, valueName);
  if (!value || value->kind != SettingValue::Kind::Text || value->text.size() > maxLength) return std::nullopt;
  return value->text;
}

} // namespace grx::platform
