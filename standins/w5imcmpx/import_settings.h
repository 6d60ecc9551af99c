// Where the import components take their settings: an environment variable first (set by grx
// and the tests), else the value under Software\Halvorn\ORBIX\2.0\BlockTypeImport:
//   Catalogue  W5IMCMPX_CATALOGUE  the block-type catalogue file
//   LogFile    W5IMCMPX_LOG        where the import host saves its log when it is closed
//   Mode       W5IMCMPX_MODE       fail-open: the host cannot be opened; fail-run: the runner
//                                  fails; no-log-view: the host has no log view
#pragma once

#include <string>

#include "platform/process.h"
#include "platform/settings_store.h"

namespace w5imp {

inline std::string ImportSetting(const char* valueName, const char* variable) {
  if (auto value = grx::platform::EnvironmentValue(variable); value && !value->empty()) return *value;
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine,
                                        "Software\\Halvorn\\ORBIX\\2.0\\BlockTypeImport", valueName)
      .value_or("");
}

inline std::string ImportMode() {
  return ImportSetting("Mode", "W5IMCMPX_MODE");
}

// A Win32 error as an HRESULT.
constexpr grx::platform::HRESULT HresultFromWin32(std::uint32_t code) {
  return static_cast<grx::platform::HRESULT>(0x80070000u | (code & 0xFFFFu));
}
inline constexpr grx::platform::HRESULT E_UNEXPECTED = static_cast<grx::platform::HRESULT>(0x8000FFFF);

} // namespace w5imp
