// The operating system's own registry, read after the settings file and before the build's
// registrations (settings_store.h): the registry of a Win32 build; none elsewhere.
#pragma once

#include <optional>
#include <string>

#include "platform/settings_store.h"

namespace grx::platform::system {

std::optional<SettingValue> ReadRegistry(Hive hive, const std::string& key, const std::string& valueName);

} // namespace grx::platform::system
