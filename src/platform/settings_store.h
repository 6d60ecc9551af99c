// The read-only settings store: what a Win32 build reads from the registry. Values live in a
// text file named by GRX_SETTINGS_FILE:
//
//   [HKEY_LOCAL_MACHINE\Software\Halvorn\ORBIX\2.0\General\Languages]
//   Current=GERMAN
//   Level=dword:3
//
// Keys are compared without regard to case, as the registry does. A value is a text unless it
// is written as dword:N (a number); "@" names a key's default value. What the file does not hold
// is looked up in the system's registry (a Win32 build's), then in registry.ini in the folders of
// the installation (beside the program, beside this module, in an installed tree's module
// folder): the registrations that the build installs (its in-process components).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grx::platform {

enum class Hive { LocalMachine, CurrentUser, ClassesRoot };

struct SettingValue {
  enum class Kind { Text, Number } kind = Kind::Text;
  std::string text;
  std::uint32_t number = 0;
};

// The value, or nullopt when the file, the key or the value is missing.
std::optional<SettingValue> ReadSetting(Hive hive, const std::string& key, const std::string& valueName);
// A text value that fits maxLength characters, or nullopt.
std::optional<std::string> ReadSettingText(Hive hive, const std::string& key, const std::string& valueName,
                                           std::size_t maxLength = 1024);
// Where the settings come from ("" when GRX_SETTINGS_FILE is not set).
std::string SettingsFile();

} // namespace grx::platform
