#include "opendata/iec_cfc_var.h"

#include <cstring>

#include "opendata/iec_visitor.h"
#include "opendata/model_support.h"

namespace OpenData {

Iec_CfcInVar& CIecCfcInVarBase::Record() {
  return detail::CachedRecord(m_record, GetId(), m_read, m_allocFailure, m_readFailure, m_source, __LINE__);
}

std::string CIecCfcInVarBase::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

CIecCfcInVar::CIecCfcInVar(GlObjectId id)
    : CIecCfcInVarBase(id, IEC_OBJ_CFC_IN_VAR, &iec_CfcInVarRead, "Cannot create Iec_CfcInVar object.",
                       "iec_CfcInVarRead failed.", "IecCfcInVar") {}

void CIecCfcInVar::Accept(IIecVisitor& visitor) {
  visitor.VisitCfcInVar(*this);
}

void CIecCfcInVar::SetValue(const std::string& value) {
  SetValue(value.c_str());
}

std::uint32_t CIecCfcInVar::SetValue(const char* value) {
  // The cached record takes the value only once the chart database has taken it.
  Iec_CfcInVar changed = Record();
  std::memset(changed.value, 0, sizeof changed.value);
  if (value) std::memcpy(changed.value, value, strnlen(value, sizeof changed.value - 1));
  detail::Check(iec_CfcInVarUpdate(GetId(), changed, detail::Transaction()), "iec_CfcInVarUpdate failed.", Source(),
                __LINE__);
  Record() = changed;
  return 0;
}

CIecCfcInOutVar::CIecCfcInOutVar(GlObjectId id)
    : CIecCfcInVarBase(id, IEC_OBJ_CFC_IN_OUT_VAR, &iec_CfcInOutVarRead, "Cannot create Iec_CfcInOutVar object.",
                       "iec_CfcInOutVarRead failed.", "IecCfcInOutVar") {}

void CIecCfcInOutVar::Accept(IIecVisitor& visitor) {
  visitor.VisitCfcInOutVar(*this);
}

void CIecCfcOutVar::Accept(IIecVisitor& visitor) {
  visitor.VisitCfcOutVar(*this);
}

const Iec_CfcOutVar& CIecCfcOutVar::Record() {
  return detail::CachedRecord(m_record, GetId(), iec_CfcOutVarRead, "Cannot create Iec_CfcOutVar object.",
                              "iec_CfcOutVarRead failed.", "IecCfcOutVar", __LINE__);
}

std::string CIecCfcOutVar::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

const char* CIecCfcOutVar::GetValue() {
  throw ZEB::CIllegalStateException("A CFC output variable doesn't have a value.", "IecCfcOutVar", __LINE__);
}

} // namespace OpenData
