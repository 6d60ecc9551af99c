// Reading a text setting through the tool library: the key path and value name in wide text, the
// root key mapped to a settings location, the value name appended to the key's path.
#pragma once

#include <cstdint>
#include <string>

#include "platform/com_lite.h"
#include "w5tool/w5toolax.h"

namespace grx::helpfuncs {

// True with the value in narrow text; false with value left empty.
inline bool ReadStringSetting(std::uintptr_t rootKey, const std::string& keyPath, const std::string& valueName,
                              std::string& value) {
  value.clear();
  w5tl::SettingPath path(w5tl::SettingHkey2Location(rootKey), grx::platform::Widen(keyPath));
  path.AppendSubPath(grx::platform::Widen(valueName));
  std::wstring text;
  if ((w5tl::SettingGetString(path, text) & 0xFFFF) != 0) return false;
  value = grx::platform::Narrow(text);
  return true;
}

} // namespace grx::helpfuncs
