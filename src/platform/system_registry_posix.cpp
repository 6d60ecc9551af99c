// POSIX systems have no registry: the settings file and the build's registrations are all.
#include "platform/system_registry.h"

namespace grx::platform::system {

std::optional<SettingValue> ReadRegistry(Hive, const std::string&, const std::string&) {
  return std::nullopt;
}

} // namespace grx::platform::system
