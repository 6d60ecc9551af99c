// Readable text of an IEC data type for grx output ("REAL", or the number).
#pragma once

#include <optional>
#include <string>

#include "chartdb/q3jdbmox_data_types.h"
#include "grx/w5lhlpax.h"
#include "number_text.h"

namespace grx::cli {

inline std::string DataTypeText(GlDataType type) {
  const auto name = chartdb::DataTypeShortName(type);
  return name.empty() ? std::to_string(type) : std::string(name);
}

// An IEC data type given as an elementary type name (the library's type table) or as a number;
// nothing for any other text.
inline std::optional<GlDataType> ParseDataType(const std::string& text) {
  std::uint32_t esType = 0;
  GlDataType type = IEC_NDEF;
  if (W5GRX_IsSimpleType(text.c_str(), esType, type)) return type;
  if (const auto number = ParseWholeNumber(text); number && *number >= 0 && *number <= 0xFFFF) {
    return static_cast<GlDataType>(*number);
  }
  return std::nullopt;
}

} // namespace grx::cli
