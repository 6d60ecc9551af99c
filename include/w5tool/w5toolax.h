// The engineering system's tool library w5toolax: settings, installation path, language
// selection and language resource loading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
// The module of the language resource library for the user's language, or null.
void* W5TL_LoadLanguageDllEx(void* instance, const char* baseName);
// A 32-bit setting; selectors 18 and 1 choose the machine-wide tool settings. 0 on success.
std::uint32_t W5TL_SettingGetValue(std::int32_t store, std::int32_t scope, const wchar_t* name, std::uint32_t* value);
// The installation folder (buffer of 260 characters). 0 on success.
std::uint32_t W5TL_GetQ3InstallPath(char* path);
// The selected language's name and letter (two buffers of 63 characters). 0 on success.
std::uint32_t W5TL_GetSelectedLanguage(char* name, char* letter);
}

namespace w5tl {

enum SettingLocation : std::int32_t { kLocationNone = 0, kLocationMachine = 1, kLocationUser = 2 };

inline constexpr std::uintptr_t kHkeyCurrentUser = 0x80000001;
inline constexpr std::uintptr_t kHkeyLocalMachine = 0x80000002;

// The setting location of a registry hive.
SettingLocation SettingHkey2Location(std::uintptr_t hkey);

// A settings path: a location and key parts of wide texts ("SOFTWARE", "Halvorn", ...); the
// last part appended names the value to read.
class SettingPath {
public:
  SettingPath(SettingLocation location, const std::wstring& keyPath);
  SettingPath& AppendSubPath(const std::wstring& part);
  SettingLocation Location() const { return location_; }
  std::wstring Key() const;       // every part but the last, joined by backslashes
  std::wstring ValueName() const; // the last part

private:
  SettingLocation location_;
  std::vector<std::wstring> parts_;
};

// Reads the text value the path names; the low 16 bits of the result are 0 on success (2: not
// found, 3: no location).
std::uint32_t SettingGetString(const SettingPath& path, std::wstring& value);

} // namespace w5tl
