// Readable names of C++ types ("OpenData::COpenDataException"), for messages that name a class.
#pragma once

#include <string>
#include <typeinfo>

namespace grx::platform {

std::string ReadableTypeName(const std::type_info& type);

} // namespace grx::platform
