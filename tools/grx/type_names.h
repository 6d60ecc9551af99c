// Readable C++ class names for what grx prints ("OpenData::COpenDataException").
#pragma once

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

namespace grx::cli {

// The demangled name of the dynamic type; the mangled one when it cannot be demangled.
inline std::string TypeName(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? name.get() : type.name();
}

} // namespace grx::cli
