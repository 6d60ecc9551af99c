#include "opendata/iec_var.h"

#include <cstring>

#include "opendata/iec_var_type.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecVar";

struct ReadInfo {
  GlResult (*read)(GlObjectId, Iec_Var&, Iec_VarIdent&, GlTransactionId);
  const char* allocFailure;
  const char* readFailure;
  const char* source;
};

ReadInfo InfoFor(IEC_OBJECT_TYPE type) {
  switch (type) {
    case IEC_OBJ_IN_VAR:
      return {&iec_InVarRead, "Cannot create Iec_InVar object.", "iec_InVarRead failed.", "IecInVar"};
    case IEC_OBJ_OUT_VAR:
      return {&iec_OutVarRead, "Cannot create Iec_OutVar object.", "iec_OutVarRead failed.", "IecOutVar"};
    default:
      return {&iec_InOutVarRead, "Cannot create Iec_InOutVar object.", "iec_InOutVarRead failed.", "IecInOutVar"};
  }
}
} // namespace

void CIecVar::ReadRecords() {
  const ReadInfo info = InfoFor(GetType());
  auto record = detail::Allocate<Iec_Var>(info.allocFailure, info.source, __LINE__);
  auto ident = detail::Allocate<Iec_VarIdent>("Cannot create Iec_VarIdent object.", info.source, __LINE__);
  detail::Check(info.read(GetId(), *record, *ident, detail::Transaction()), info.readFailure, info.source, __LINE__);
  m_record = std::move(record);
  m_ident = std::move(ident);
}

const Iec_Var& CIecVar::VarRecord() {
  if (!m_record) ReadRecords();
  return *m_record;
}

std::string CIecVar::GetName() {
  if (NameCache().empty()) {
    VarRecord();
    NameCache() = std::string(m_ident->name, strnlen(m_ident->name, sizeof m_ident->name));
  }
  return NameCache();
}

const char* CIecVar::GetValue() {
  return VarRecord().value;
}

std::string CIecVar::GetIdentText2() {
  VarRecord();
  return std::string(m_ident->text, strnlen(m_ident->text, sizeof m_ident->text));
}

std::string CIecVar::GetIdentText1() {
  VarRecord();
  return std::string(m_ident->name, strnlen(m_ident->name, sizeof m_ident->name));
}

const std::string& CIecVar::GetCachedIdentText1() {
  if (m_identText1.empty()) m_identText1 = GetIdentText1();
  return m_identText1;
}

const std::string& CIecVar::GetCachedIdentText2() {
  if (m_identText2.empty()) m_identText2 = GetIdentText2();
  return m_identText2;
}

GlObjectId CIecVar::GetVarTypeId() {
  if (m_varTypeId == 0) {
    GlObjectId type = 0;
    detail::Check(iec_VarTypeGet(GetId(), type, detail::Transaction()), "iec_VarTypeGet failed.", kSource, __LINE__);
    m_varTypeId = type;
  }
  return m_varTypeId;
}

CIecVarType* CIecVar::GetVarType() {
  auto* type = dynamic_cast<CIecVarType*>(
      CIecObjManager::GetInstance()->FindIecObject(CIecObjId(GetVarTypeId()), m_varTypeType));
  if (!type) {
    throw ZEB::CIllegalStateException("CIecVarType-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      kSource, __LINE__);
  }
  return type;
}

GlDataType CIecVar::GetDataType() {
  return GetVarType()->GetDataType();
}

void CIecVar::WriteValue(const char* text, GlResult (*update)(GlObjectId, const Iec_Var&, GlTransactionId),
                         const char* failure, const char* source) {
  VarRecord();
  // The field keeps its terminating zero: at most 256 characters. The cached record takes the
  // value only once the chart database has taken it.
  Iec_Var changed = *m_record;
  std::memset(changed.value, 0, sizeof changed.value);
  if (text) std::memcpy(changed.value, text, strnlen(text, sizeof changed.value - 1));
  detail::Check(update(GetId(), changed, detail::Transaction()), failure, source, __LINE__);
  *m_record = changed;
  ReadRecords();
}

void CIecInVar::Accept(IIecVisitor& visitor) {
  visitor.VisitInVar(*this);
}
void CIecInVar::SetValue(const std::string& value) {
  SetValue(value.c_str());
}
void CIecInVar::SetValue(const char* value) {
  WriteValue(value, &iec_InVarUpdate, "iec_InVarUpdate failed.", "IecInVar");
}
const char* CIecInVar::RefreshValue() {
  ReadRecords();
  return GetValue();
}

void CIecOutVar::Accept(IIecVisitor& visitor) {
  visitor.VisitOutVar(*this);
}
void CIecOutVar::SetValue(const std::string& value) {
  SetValue(value.c_str());
}
void CIecOutVar::SetValue(const char* value) {
  WriteValue(value, &iec_OutVarUpdate, "iec_OutVarUpdate failed.", "IecOutVar");
}

void CIecInOutVar::Accept(IIecVisitor& visitor) {
  visitor.VisitInOutVar(*this);
}

} // namespace OpenData
