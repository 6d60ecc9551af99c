// Readable names of C++ types ("OpenData::COpenDataException"), for messages that name a class.
#pragma once

#include <string>
#include <typeinfo>

namespace grx::platform {

std::string ReadableTypeName(const std::type_info& type);
// The C++ name a decorated symbol stands for ("_Z16W5GRX_IsRootPlanyt" ->
// "W5GRX_IsRootPlan(unsigned long long, unsigned short)"); the symbol itself when it is no
// decorated C++ name.
std::string DemangledName(const std::string& symbol);

} // namespace grx::platform
