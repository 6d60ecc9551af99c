// Names of the IEC data types as project descriptions write them ("BOOL", "REAL", "STRUCT").
#pragma once

#include <optional>
#include <string>

#include "chartdb/q3jdbmox_types.h"

namespace q3 {

// The name of a data type ("" for a value without a name).
std::string DataTypeName(GlDataType type);
// A data type by name, without regard to case; also accepts a plain number.
std::optional<GlDataType> DataTypeByName(const std::string& name);

} // namespace q3
