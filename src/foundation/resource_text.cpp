#include "foundation/resource_text.h"

#include "platform/module_state.h"
#include "platform/string_resources.h"

namespace ZEB {

std::optional<std::string> ResourceString(std::uint32_t id) {
  const grx::platform::ModuleState* state = grx::platform::CurrentModuleState();
  if (!state || !state->resourceHandle) return std::nullopt;
  return grx::platform::LoadResourceString(state->resourceHandle, id);
}

std::vector<std::string> MessageParts(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = (!text.empty() && text[0] == '\r') ? 1 : 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\r', start);
    if (end == std::string::npos) {
      parts.push_back(text.substr(start));
      break;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

} // namespace ZEB
