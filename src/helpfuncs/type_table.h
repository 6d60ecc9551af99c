// The type table of the type queries: the elementary types with their ES type codes, IEC data
// types and cast targets, keyed by the upper-case name; aliases are entries of their own. Built
// when the library is loaded.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "chartdb/q3jdbmox_types.h"

namespace grx::helpfuncs {

struct TypeEntry {
  std::uint32_t esType;
  GlDataType iecType;
  std::string name; // as written
  std::set<GlDataType> castTargets;
};

class TypeTable {
public:
  static const TypeTable& Instance();

  // By name: upper-cased in the code page, at most its first 95 characters.
  const TypeEntry* ByName(std::string_view name) const;
  // The first entry in key order with the ES type code, or with the IEC data type.
  const TypeEntry* ByEsType(std::uint32_t esType) const;
  const TypeEntry* ByIecType(GlDataType iecType) const;
  const std::map<std::string, TypeEntry>& Entries() const { return m_entries; }

private:
  TypeTable();
  std::map<std::string, TypeEntry> m_entries;
};

} // namespace grx::helpfuncs
