// The Win32 registry through advapi32: RegOpenKeyExA and RegQueryValueExA (texts and numbers).
#include <windows.h>

#include "platform/system_registry.h"

namespace grx::platform::system {

std::optional<SettingValue> ReadRegistry(Hive hive, const std::string& key, const std::string& valueName) {
  HKEY root = hive == Hive::LocalMachine  ? HKEY_LOCAL_MACHINE
              : hive == Hive::CurrentUser ? HKEY_CURRENT_USER
                                          : HKEY_CLASSES_ROOT;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  const char* name = valueName == "@" || valueName.empty() ? nullptr : valueName.c_str();
  DWORD type = 0, size = 0;
  std::optional<SettingValue> result;
  if (RegQueryValueExA(opened, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string data(size, '\0');
    if (RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) == ERROR_SUCCESS) {
      SettingValue value;
      if (type == REG_DWORD && size == sizeof(DWORD)) {
        value.kind = SettingValue::Kind::Number;
        value.number = *reinterpret_cast<const DWORD*>(data.data());
        result = value;
      } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        data.resize(size);
        while (!data.empty() && data.back() == '\0') data.pop_back();
        value.text = data;
        result = value;
      }
    }
  }
  RegCloseKey(opened);
  return result;
}

} // namespace grx::platform::system
