#include "platform/code_page.h"
#include "data_type_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "chartdb/q3jdbmox_data_types.h"

namespace q3 {

std::string DataTypeName(GlDataType type) {
  return std::string(chartdb::DataTypeShortName(type));
}

std::optional<GlDataType> DataTypeByName(const std::string& name) {
  std::string upper = grx::platform::AnsiUpper(name);
  if (upper == "STRING") upper = "STR";
  for (const auto& e : chartdb::kDataTypes) {
    if (upper == e.enumerator.substr(4)) return e.type;
  }
  if (!name.empty() && name.size() <= 3 &&
      std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isdigit(c); })) {
    const long value = std::strtol(name.c_str(), nullptr, 10);
    if (value <= 255) return static_cast<GlDataType>(value);
  }
  return std::nullopt;
}

} // namespace q3
