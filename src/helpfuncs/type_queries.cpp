// The type queries of the host: elementary types by name, the cast relation and the IEC data type
// of an ES type.
#include <cstring>
#include <set>

#include "app/export_bodies.h"
#include "helpfuncs/type_table.h"
#include "platform/code_page.h"

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

namespace grx::body {
namespace {

// Follows the next-record pointers of a chain; a chain that comes back to a record counted before
// ends there, so that a broken chain cannot keep the host waiting.
template <class Record>
std::int32_t CountChain(const Record* first) {
  std::set<const Record*> seen;
  for (const Record* r = first; r && seen.insert(r).second; r = r->next) {
  }
  return static_cast<std::int32_t>(seen.size());
}

bool SameElements(const Iec_VarTypeElement* a, const Iec_VarTypeElement* b,
                  std::set<std::pair<const Iec_VarTypeElement*, const Iec_VarTypeElement*>>& compared) {
  if (!a && !b) return true;
  if (!a || !b) return false;
  for (; a && b; a = a->next, b = b->next) {
    // A pair met before (a list that leads back into itself) is not compared again.
    if (!compared.insert({a, b}).second) return true;
    if (!SameElements(a->firstNested, b->firstNested, compared)) return false;
    if (!platform::AnsiEqualNoCase(std::string_view(a->name, strnlen(a->name, sizeof a->name)),
                                   std::string_view(b->name, strnlen(b->name, sizeof b->name)))) {
      return false;
    }
    if (a->dataType != b->dataType) return false;
  }
  return !a && !b;
}

} // namespace

std::int32_t W5GRX_CountInVarTypes(const Iec_InVarType* first) {
  return CountChain(first);
}

std::int32_t W5GRX_CountOutVarTypes(const Iec_OutVarType* first) {
  return CountChain(first);
}

bool W5GRX_CompareStructTypeList(const Iec_VarTypeElement* a, const Iec_VarTypeElement* b) {
  std::set<std::pair<const Iec_VarTypeElement*, const Iec_VarTypeElement*>> compared;
  return SameElements(a, b, compared);
}

} // namespace grx::body
