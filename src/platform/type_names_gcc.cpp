// Readable type names through the compiler's demangler (the GCC and Clang ABI).
#include <cxxabi.h>

#include <cstdlib>
#include <memory>

#include "platform/type_names.h"

namespace grx::platform {

std::string ReadableTypeName(const std::type_info& type) {
  return DemangledName(type.name());
}

std::string DemangledName(const std::string& symbol) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(symbol.c_str(), nullptr, nullptr, &status),
                                              std::free);
  return status == 0 && name ? std::string(name.get()) : symbol;
}

} // namespace grx::platform
