#include "opendata/iec_block.h"

#include "opendata/iec_block_type.h"
#include "opendata/iec_var.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecBlock";
} // namespace

GlObjectId CIecBlock::GetBlockTypeId() {
  if (m_blockTypeId == 0) {
    GlObjectId type = 0;
    detail::Check(iec_BlockTypeGet(GetId(), type, detail::Transaction()), "iec_BlockTypeGet failed.", kSource,
                  __LINE__);
    m_blockTypeId = type;
  }
  return m_blockTypeId;
}

CIecBlockType* CIecBlock::GetBlockType() {
  auto* type = dynamic_cast<CIecBlockType*>(
      CIecObjManager::GetInstance()->FindIecObject(CIecObjId(GetBlockTypeId()), m_blockTypeType));
  if (!type) {
    throw ZEB::CIllegalStateException("CIecBlockType-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      kSource, __LINE__);
  }
  return type;
}

std::unique_ptr<std::vector<CIecInVar*>> CIecBlock::GetInVars() {
  return detail::ToTypedVector<CIecInVar>(*GetVarIds(IEC_SELECT_IS_IN_VAR), IEC_OBJ_IN_VAR, "CIecInVar");
}
std::unique_ptr<std::vector<CIecOutVar*>> CIecBlock::GetOutVars() {
  return detail::ToTypedVector<CIecOutVar>(*GetVarIds(IEC_SELECT_IS_OUT_VAR), IEC_OBJ_OUT_VAR, "CIecOutVar");
}
std::unique_ptr<std::vector<CIecInOutVar*>> CIecBlock::GetInOutVars() {
  return detail::ToTypedVector<CIecInOutVar>(*GetVarIds(IEC_SELECT_IS_IN_OUT_VAR), IEC_OBJ_IN_OUT_VAR, "CIecInOutVar");
}

std::unique_ptr<std::vector<CIecObject*>> CIecBlock::GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  auto children = detail::Allocate<std::vector<CIecObject*>>("Cannot create CIecObject* vector.", kSource, __LINE__);
  for (IEC_OBJECT_TYPE type : {IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR}) {
    if (FilterSelects(pvectorFilter, type)) {
      detail::AppendObjects(*children, *GetVarIds(static_cast<GlSelect>(type)), type);
    }
  }
  return children;
}

void CIecFunctionBlock::Accept(IIecVisitor& visitor) {
  visitor.VisitFunctionBlock(*this);
}
void CIecFunctionBlock::ResetName() {
  NameCache().clear();
}
void CIecFunctionBlock::SetName(const std::string& name) {
  NameCache() = name;
}

void CIecFunction::Accept(IIecVisitor& visitor) {
  visitor.VisitFunction(*this);
}

} // namespace OpenData
