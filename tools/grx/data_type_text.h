// Readable text of an IEC data type for grx output ("REAL", or the number).
#pragma once

#include <string>

#include "chartdb/q3jdbmox_data_types.h"

namespace grx::cli {

inline std::string DataTypeText(GlDataType type) {
  const auto name = chartdb::DataTypeShortName(type);
  return name.empty() ? std::to_string(type) : std::string(name);
}

} // namespace grx::cli
