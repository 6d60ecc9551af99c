// Readable type names through the compiler's demangler (the GCC and Clang ABI).
#include <cxxabi.h>

#include <cstdlib>
#include <memory>

#include "platform/type_names.h"

namespace grx::platform {

std::string ReadableTypeName(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

} // namespace grx::platform
