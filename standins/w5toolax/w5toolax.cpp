// The tool library stand-in w5toolax, backed by the same settings store as the platform's
// registry reads (GRX_SETTINGS_FILE):
//   language        "Current" under Software\Halvorn\ORBIX\2.0\General\Languages (ENGLISH)
//   tool settings   dword values under Software\Halvorn\ORBIX\2.0\Settings ("silent-trace")
//   install path    "InstallPath" under Software\Halvorn\ORBIX\2.0, else the folder of this module
// W5TL_LoadLanguageDllEx loads "<base>_<language>" when it exists ("w5lresax_de"), else "<base>";
// with "LanguageModules" set to "off" under the language key it loads none.

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/com_lite.h"
#include "platform/dynamic_library.h"
#include "platform/export_macros.h"
#include "platform/settings_store.h"
#include "w5tool/w5toolax.h"

namespace {

constexpr const char* kOrbixKey = "Software\\Halvorn\\ORBIX\\2.0";
constexpr const char* kLanguageKey = "Software\\Halvorn\\ORBIX\\2.0\\General\\Languages";
constexpr const char* kToolSettingsKey = "Software\\Halvorn\\ORBIX\\2.0\\Settings";
constexpr std::uint32_t kNotFound = 2;

struct Language {
  const char* name;
  const char* suffix;
  const char* letter;
};

Language SelectedLanguage() {
  static const Language kLanguages[] = {{"GERMAN", "de", "a"},
                                        {"ENGLISH", "en", "b"},
                                        {"FRENCH", "fr", "c"},
                                        {"SPANISH", "es", "d"},
                                        {"ITALIAN", "it", "e"}};
  const std::string current =
      grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, kLanguageKey, "Current", 99)
          .value_or("ENGLISH");
  for (const Language& l : kLanguages) {
    if (current == l.name) return l;
  }
  return kLanguages[1];
}

void CopyOut(char* buffer, std::size_t size, const std::string& text) {
  std::snprintf(buffer, size, "%s", text.c_str());
}

} // namespace

GRX_MODULE_EXPORT void* W5TL_LoadLanguageDllEx(void* /*instance*/, const char* baseName) {
  if (!baseName || !*baseName) return nullptr;
  if (grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, kLanguageKey, "LanguageModules") == "off") {
    return nullptr;
  }
  for (const std::string& name : {std::string(baseName) + "_" + SelectedLanguage().suffix, std::string(baseName)}) {
    grx::platform::Module module = grx::platform::Module::Load(name);
    if (module) return module.Detach();
  }
  return nullptr;
}

GRX_MODULE_EXPORT std::uint32_t W5TL_SettingGetValue(std::int32_t store, std::int32_t scope, const wchar_t* name,
                                                     std::uint32_t* value) {
  if (store != 18 || scope != 1 || !name || !value) return kNotFound;
  const auto setting =
      grx::platform::ReadSetting(grx::platform::Hive::LocalMachine, kToolSettingsKey, grx::platform::Narrow(name));
  if (!setting || setting->kind != grx::platform::SettingValue::Kind::Number) return kNotFound;
  *value = setting->number;
  return 0;
}

GRX_MODULE_EXPORT std::uint32_t W5TL_GetQ3InstallPath(char* path) {
  if (!path) return kNotFound;
  if (const auto configured =
          grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, kOrbixKey, "InstallPath", 259)) {
    CopyOut(path, 260, *configured);
    return 0;
  }
  const std::string file = grx::platform::ModuleFileOf(reinterpret_cast<const void*>(&W5TL_GetQ3InstallPath));
  if (file.empty()) return kNotFound;
  CopyOut(path, 260, std::filesystem::path(file).parent_path().string());
  return 0;
}

GRX_MODULE_EXPORT std::uint32_t W5TL_GetSelectedLanguage(char* name, char* letter) {
  if (!name || !letter) return kNotFound;
  const Language language = SelectedLanguage();
  CopyOut(name, 63, language.name);
  CopyOut(letter, 63, language.letter);
  return 0;
}

namespace w5tl {

SettingLocation SettingHkey2Location(std::uintptr_t hkey) {
  if (hkey == kHkeyLocalMachine) return kLocationMachine;
  if (hkey == kHkeyCurrentUser) return kLocationUser;
  return kLocationNone;
}

SettingPath::SettingPath(SettingLocation location, const std::wstring& keyPath) : location_(location) {
  if (!keyPath.empty()) parts_.push_back(keyPath);
}

SettingPath& SettingPath::AppendSubPath(const std::wstring& part) {
  parts_.push_back(part);
  return *this;
}

std::wstring SettingPath::Key() const {
  std::wstring key;
  for (std::size_t i = 0; i + 1 < parts_.size(); ++i) key += (key.empty() ? L"" : L"\\") + parts_[i];
  return key;
}

std::wstring SettingPath::ValueName() const {
  return parts_.empty() ? std::wstring() : parts_.back();
}

std::uint32_t SettingGetString(const SettingPath& path, std::wstring& value) {
  if (path.Location() == kLocationNone) return 3;
  const auto hive =
      path.Location() == kLocationMachine ? grx::platform::Hive::LocalMachine : grx::platform::Hive::CurrentUser;
  const auto text =
      grx::platform::ReadSettingText(hive, grx::platform::Narrow(path.Key()), grx::platform::Narrow(path.ValueName()));
  if (!text) return kNotFound;
  value = grx::platform::Widen(*text);
  return 0;
}

} // namespace w5tl
