#include "helpfuncs/type_table.h"

#include "platform/code_page.h"

namespace grx::helpfuncs {
namespace {

constexpr std::size_t kNameLimit = 95;
constexpr GlDataType kAnyObject = 85;
constexpr GlDataType kStructAlarmId = 83;
constexpr GlDataType kStructTaskId = 84;

struct Row {
  const char* name;
  std::uint32_t esType;
  GlDataType iecType;
  std::set<GlDataType> extraTargets;
};

// The elementary types; there is no ES type code 17, and SDTIME shares REAL's code 14.
const Row kRows[] = {
    {"BOOL", 1, IEC_BOOL, {}},
    {"BYTE", 2, IEC_BYTE, {IEC_SINT, IEC_USINT}},
    {"WORD", 3, IEC_WORD, {IEC_INT, IEC_UINT}},
    {"DWORD", 4, IEC_DWORD, {IEC_DINT, IEC_UDINT}},
    {"LWORD", 5, IEC_LWORD, {}},
    {"SINT", 6, IEC_SINT, {IEC_BYTE, IEC_USINT}},
    {"INT", 7, IEC_INT, {IEC_WORD, IEC_UINT}},
    {"DINT", 8, IEC_DINT, {IEC_DWORD, IEC_UDINT}},
    {"LINT", 9, IEC_LINT, {}},
    {"USINT", 10, IEC_USINT, {IEC_BYTE, IEC_SINT}},
    {"UINT", 11, IEC_UINT, {IEC_WORD, IEC_INT}},
    {"UDINT", 12, IEC_UDINT, {IEC_DWORD, IEC_DINT}},
    {"ULINT", 13, IEC_ULINT, {}},
    {"REAL", 14, IEC_REAL, {IEC_SDTIME}},
    {"LREAL", 15, IEC_LREAL, {}},
    {"ANYOBJECT", 16, kAnyObject, {}},
    {"TIME", 18, IEC_TIME, {}},
    {"DATE", 19, IEC_DATE, {}},
    {"TOD", 20, IEC_TOD, {}},
    {"TIME_OF_DAY", 20, IEC_TOD, {}},
    {"DT", 21, IEC_DT, {}},
    {"DATE_AND_TIME", 21, IEC_DT, {}},
    {"StructAlarmId", 22, kStructAlarmId, {}},
    {"StructTaskId", 23, kStructTaskId, {}},
    {"SDTIME", 14, IEC_SDTIME, {IEC_REAL}},
};

// Built when the library is loaded, destroyed when it is unloaded.
[[maybe_unused]] const TypeTable& builtAtLoad = TypeTable::Instance();

} // namespace

TypeTable::TypeTable() {
  for (const Row& row : kRows) {
    TypeEntry entry{row.esType, row.iecType, row.name, row.extraTargets};
    entry.castTargets.insert(row.iecType);
    m_entries.emplace(platform::AnsiUpper(row.name), std::move(entry));
  }
}

const TypeTable& TypeTable::Instance() {
  static const TypeTable instance;
  return instance;
}

const TypeEntry* TypeTable::ByName(std::string_view name) const {
  const auto it = m_entries.find(platform::AnsiUpper(name.substr(0, kNameLimit)));
  return it == m_entries.end() ? nullptr : &it->second;
}

const TypeEntry* TypeTable::ByEsType(std::uint32_t esType) const {
  for (const auto& [key, entry] : m_entries) {
    if (entry.esType == esType) return &entry;
  }
  return nullptr;
}

const TypeEntry* TypeTable::ByIecType(GlDataType iecType) const {
  for (const auto& [key, entry] : m_entries) {
    if (entry.iecType == iecType) return &entry;
  }
  return nullptr;
}

} // namespace grx::helpfuncs
