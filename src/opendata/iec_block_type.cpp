#include "opendata/iec_block_type.h"

#include "opendata/iec_visitor.h"
#include "opendata/model_support.h"

namespace OpenData {

std::unique_ptr<std::vector<CIecObject*>> CIecBlockType::GetChildren(
    const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  if (pvectorFilter)
    throw ZEB::CInvalidArgException("pvectorFilter != NULL not yet supported.", "IecBlockType", __LINE__);
  return detail::Allocate<std::vector<CIecObject*>>("Cannot create CIecObject* vector.", "IecBlockType", __LINE__);
}

void CIecFunctionBlockType::Accept(IIecVisitor& visitor) {
  visitor.VisitFunctionBlockType(*this);
}

const Iec_FunctionBlockType& CIecFunctionBlockType::Record() {
  return detail::CachedRecord(m_record, GetId(), iec_FunctionBlockTypeRead,
                              "Cannot create Iec_FunctionBlockType object.", "iec_FunctionBlockTypeRead failed.",
                              "IecFunctionBlockType", __LINE__);
}

std::string CIecFunctionBlockType::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

bool CIecFunctionBlockType::IsRecordFlagSet() {
  return Record().fbTypeFlag == 1;
}

void CIecFunctionType::Accept(IIecVisitor& visitor) {
  visitor.VisitFunctionType(*this);
}

std::string CIecFunctionType::GetName() {
  if (!m_record) {
    auto record =
        detail::Allocate<Iec_FunctionType>("Cannot create Iec_FunctionType object.", "IecFunctionType", __LINE__);
    detail::Check(iec_FunctionTypeRead(GetId(), *record, detail::Transaction()), "iec_FunctionTypeRead failed.",
                  "IecFunctionType", __LINE__);
    m_record = std::move(record);
  }
  if (NameCache().empty()) NameCache() = m_record->name;
  return NameCache();
}

} // namespace OpenData
