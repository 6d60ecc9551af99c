#include "opendata/iec_global_var.h"

#include "opendata/iec_visitor.h"
#include "opendata/model_support.h"

namespace OpenData {

void CIecGlobalVar::Accept(IIecVisitor& visitor) {
  visitor.VisitGlobalVar(*this);
}

const Iec_GlobalVar& CIecGlobalVar::Record() {
  return detail::CachedRecord(m_record, GetId(), iec_GlobalVarRead, "Cannot create Iec_GlobalVar object.",
                              "iec_GlobalVarRead failed.", "IecGlobalVar", __LINE__);
}

std::string CIecGlobalVar::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

const char* CIecGlobalVar::GetValue() {
  throw ZEB::CIllegalStateException("A global variable doesn't have a value.", "IecGlobalVar", __LINE__);
}

} // namespace OpenData
