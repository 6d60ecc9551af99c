#include "opendata/iec_var_type.h"

#include "opendata/iec_var_base.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {

std::unique_ptr<ObjectIdVector> CIecVarType::GetStructureElementIds() {
  return ReadStructureElementIds(GetId(), "IecVarType");
}

std::unique_ptr<std::vector<CIecObject*>> CIecVarType::GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  auto children =
      detail::Allocate<std::vector<CIecObject*>>("Cannot create CIecObject* vector.", "IecVarType", __LINE__);
  if (FilterSelects(pvectorFilter, IEC_OBJ_VAR_TYPE_ELEMENT)) {
    detail::AppendObjects(*children, *GetStructureElementIds(), IEC_OBJ_VAR_TYPE_ELEMENT);
  }
  return children;
}

template <class Record>
const Record& CIecRecordVarType<Record>::Get() {
  return detail::CachedRecord(m_record, GetId(), m_read, m_allocFailure, m_readFailure, m_source, __LINE__);
}

template <class Record>
std::string CIecRecordVarType<Record>::GetName() {
  if (NameCache().empty()) NameCache() = Get().name;
  return NameCache();
}

template class CIecRecordVarType<Iec_InVarType>;
template class CIecRecordVarType<Iec_OutVarType>;

CIecInVarType::CIecInVarType(GlObjectId id)
    : CIecRecordVarType(id, IEC_OBJ_IN_VAR_TYPE, &iec_InVarTypeRead, "Cannot create Iec_InVarType object.",
                        "iec_InVarTypeRead failed.", "IecInVarType") {}
void CIecInVarType::Accept(IIecVisitor& visitor) {
  visitor.VisitInVarType(*this);
}

CIecOutVarType::CIecOutVarType(GlObjectId id)
    : CIecRecordVarType(id, IEC_OBJ_OUT_VAR_TYPE, &iec_OutVarTypeRead, "Cannot create Iec_OutVarType object.",
                        "iec_OutVarTypeRead failed.", "IecOutVarType") {}
void CIecOutVarType::Accept(IIecVisitor& visitor) {
  visitor.VisitOutVarType(*this);
}

CIecInOutVarType::CIecInOutVarType(GlObjectId id)
    : CIecRecordVarType(id, IEC_OBJ_IN_OUT_VAR_TYPE, &iec_InOutVarTypeRead, "Cannot create Iec_InOutVarType object.",
                        "iec_InOutVarTypeRead failed.", "IecInOutVarType") {}
void CIecInOutVarType::Accept(IIecVisitor& visitor) {
  visitor.VisitInOutVarType(*this);
}

void CIecVarTypeElement::Accept(IIecVisitor& visitor) {
  visitor.VisitVarTypeElement(*this);
}

GlDataType CIecVarTypeElement::GetDataType() {
  if (!m_record) {
    auto record =
        detail::Allocate<Iec_VarTypeElement>("Cannot create Iec_VarTypeElement object.", "IecVarTypeElement", __LINE__);
    detail::Check(iec_VarTypeElementRead(GetId(), *record, detail::Transaction()), "iec_VarTypeElementRead failed.",
                  "IecVarTypeElement", __LINE__);
    m_record = std::move(record);
  }
  return m_record->dataType;
}

} // namespace OpenData
