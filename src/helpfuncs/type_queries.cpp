// The type queries of the host: elementary types by name, the cast relation and the IEC data type
// of an ES type.
#include "app/export_bodies.h"
#include "helpfuncs/type_table.h"

namespace grx::body {

namespace {
constexpr std::uint32_t kNoEsType = 0xFFFFFFFF;
} // namespace

bool W5GRX_IsSimpleType(const char* name, std::uint32_t& esType, GlDataType& iecType) {
  const helpfuncs::TypeEntry* entry = helpfuncs::TypeTable::Instance().ByName(name ? name : "");
  esType = entry ? entry->esType : kNoEsType;
  iecType = entry ? entry->iecType : IEC_NDEF;
  return entry != nullptr;
}

// A missing type (a null pointer) casts to nothing.
bool W5GRX_CanCast(const GlDataType* from, const GlDataType* to) {
  if (!from || !to) return false;
  const helpfuncs::TypeEntry* entry = helpfuncs::TypeTable::Instance().ByIecType(*from);
  return entry && entry->castTargets.count(*to) != 0;
}

bool W5GRX_IECType_FromES(std::int32_t typeClass, std::uint32_t esType, GlDataType& iecType) {
  switch (typeClass) {
    case 0: {
      const helpfuncs::TypeEntry* entry = helpfuncs::TypeTable::Instance().ByEsType(esType);
      if (!entry) return false;
      iecType = entry->iecType;
      return true;
    }
    case 1:
      iecType = IEC_DINT;
      return true;
    case 2:
    case 3:
    case 6:
      iecType = IEC_STRUCT;
      return true;
    default:
      return false;
  }
}

} // namespace grx::body
