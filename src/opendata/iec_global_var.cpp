#include "opendata/iec_global_var.h"

#include "opendata/iec_visitor.h"
#include "opendata/model_support.h"

namespace OpenData {

void CIecGlobalVar::Accept(IIecVisitor& visitor) {
  visitor.VisitGlobalVar(*this);
}

const Iec_GlobalVar& CIecGlobalVar::Record() {
  if (!m_record) {
    auto record = detail::Allocate<Iec_GlobalVar>("Cannot create Iec_GlobalVar object.", "IecGlobalVar", __LINE__);
    detail::Check(iec_GlobalVarRead(GetId(), *record, detail::Transaction()), "iec_GlobalVarRead failed.",
                  "IecGlobalVar", __LINE__);
    m_record = std::move(record);
  }
  return *m_record;
}

std::string CIecGlobalVar::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

const char* CIecGlobalVar::GetValue() {
  throw ZEB::CIllegalStateException("A global variable doesn't have a value.", "IecGlobalVar", __LINE__);
}

} // namespace OpenData
