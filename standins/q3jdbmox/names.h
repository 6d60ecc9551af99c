// Rules for the names that the stand-in stores: not empty, within the field of their record,
// and free of the characters that object paths use as separators.
#pragma once

#include <string>

#include "chartdb/q3jdbmox_types.h"

namespace q3 {

// Longest name (without terminator) that objects of a type may carry.
std::size_t NameLimit(GlObjectType type);
// Empty when the name is acceptable for the type, else what is wrong with it.
std::string NameProblem(GlObjectType type, const std::string& name);
// Throws ApiError when the name is not acceptable.
void CheckName(GlObjectType type, const std::string& name);

} // namespace q3
