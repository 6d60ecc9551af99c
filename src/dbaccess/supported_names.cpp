#include "dbaccess/supported_names.h"

#include <algorithm>
#include <array>

#include "chartdb/q3jdbmox_api.h"

namespace grx::dbaccess {
namespace {

// A versioned name ends in V<digits>(_<digits>)*, such as "V6_0" or "V6_1_2".
constexpr bool IsVersioned(std::string_view name) {
  const auto v = name.rfind('V');
  if (v == std::string_view::npos || v + 1 >= name.size()) return false;
  bool digit = false;
  for (std::size_t i = v + 1; i < name.size(); ++i) {
    const char c = name[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c != '_' || !digit) {
      return false;
    }
  }
  return digit && name.find('_', v) != std::string_view::npos;
}

constexpr bool InKnownGroup(std::string_view name) {
  for (std::string_view group :
       {"baf_", "cfc_", "es_", "gen_", "gl_", "iec_", "lst_", "sfc_", "tsk_", "tst_", "typ_"}) {
    if (name.substr(0, group.size()) == group) return true;
  }
  return false;
}

struct Table {
  std::array<std::string_view, chartdb::kApiFunctionCount> names{};
  std::size_t count = 0;
};

constexpr Table MakeTable() {
  Table table;
  std::size_t overloaded = 0;
  for (const auto& f : chartdb::kApiFunctions) {
    if (std::string_view(f.name) != f.exportedName) table.names[table.count++] = f.name;
  }
  overloaded = table.count;
  for (const auto& f : chartdb::kApiFunctions) {
    const std::string_view name = f.name;
    if (name == f.exportedName && !IsVersioned(name) && InKnownGroup(name)) table.names[table.count++] = name;
  }
  std::sort(table.names.begin(), table.names.begin() + static_cast<std::ptrdiff_t>(overloaded));
  std::sort(table.names.begin() + static_cast<std::ptrdiff_t>(overloaded),
            table.names.begin() + static_cast<std::ptrdiff_t>(table.count));
  return table;
}

constexpr Table kTable = MakeTable();
static_assert(!IsVersioned("iec_SourcesGet") && IsVersioned("iec_SourcesGetV6_0") && IsVersioned("x_V6_1_2"));

} // namespace

std::span<const std::string_view> SupportedNames() {
  return {kTable.names.data(), kTable.count};
}

bool IsSupportedName(std::string_view name) {
  const auto names = SupportedNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace grx::dbaccess
