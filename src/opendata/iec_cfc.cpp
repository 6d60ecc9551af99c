#include "opendata/iec_cfc.h"

#include "opendata/iec_block.h"
#include "opendata/iec_cfc_var.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecCfc";
} // namespace

void CIecCfc::Accept(IIecVisitor& visitor) {
  visitor.VisitCfc(*this);
}

std::string CIecCfc::GetName() {
  detail::CachedRecord(m_record, GetId(), iec_CfcRead, "Cannot create Iec_Cfc object.", "iec_CfcRead failed.", kSource,
                       __LINE__);
  if (NameCache().empty()) NameCache() = m_record->name;
  return NameCache();
}

const ObjectIdVector* CIecCfc::GetBlockIds(GlSelect filter) {
  std::unique_ptr<ObjectIdVector>* cache = nullptr;
  switch (filter) {
    case IEC_SELECT_IS_CFC:
      cache = &m_subChartIds;
      break;
    case IEC_SELECT_IS_FUNCTION_BLOCK:
      cache = &m_functionBlockIds;
      break;
    case IEC_SELECT_IS_FUNCTION:
      cache = &m_functionIds;
      break;
    default:
      throw ZEB::CInvalidArgException(
          "<Filter> must be IEC_SELECT_IS_FUNCTION_BLOCK, IEC_SELECT_IS_FUNCTION or IEC_SELECT_IS_CFC.", kSource,
          __LINE__);
  }
  if (!*cache) {
    auto list = detail::Allocate<ObjectIdVector>("Cannot create OBJECT ID vector.", kSource, __LINE__);
    GlObjectId iter = 0, block = 0;
    GlObjectType type = grx::dbaccess::kPresetElementType;
    detail::Enumerate(
        [&](MODE m) {
          type = grx::dbaccess::kPresetElementType;
          return iec_CfcBlocksGet(m, filter, GetId(), iter, block, type, detail::Transaction());
        },
        [&] { list->push_back(block); }, "iec_CfcBlocksGet failed.", kSource, __LINE__);
    *cache = std::move(list);
  }
  return cache->get();
}

std::unique_ptr<std::vector<CIecCfc*>> CIecCfc::GetCharts() {
  return detail::ToTypedVector<CIecCfc>(*GetBlockIds(IEC_SELECT_IS_CFC), IEC_OBJ_CFC, "CIecCfc");
}
std::unique_ptr<std::vector<CIecFunctionBlock*>> CIecCfc::GetFunctionBlocks() {
  return detail::ToTypedVector<CIecFunctionBlock>(*GetBlockIds(IEC_SELECT_IS_FUNCTION_BLOCK), IEC_OBJ_FUNCTION_BLOCK,
                                                  "CIecFunctionBlock");
}
std::unique_ptr<std::vector<CIecFunction*>> CIecCfc::GetFunctions() {
  return detail::ToTypedVector<CIecFunction>(*GetBlockIds(IEC_SELECT_IS_FUNCTION), IEC_OBJ_FUNCTION, "CIecFunction");
}
std::unique_ptr<std::vector<CIecCfcInVar*>> CIecCfc::GetCfcInVars() {
  return detail::ToTypedVector<CIecCfcInVar>(*GetVarIds(IEC_SELECT_IS_IN_VAR), IEC_OBJ_CFC_IN_VAR, "CIecCfcInVar");
}
std::unique_ptr<std::vector<CIecCfcOutVar*>> CIecCfc::GetCfcOutVars() {
  return detail::ToTypedVector<CIecCfcOutVar>(*GetVarIds(IEC_SELECT_IS_OUT_VAR), IEC_OBJ_CFC_OUT_VAR, "CIecCfcOutVar");
}
std::unique_ptr<std::vector<CIecCfcInOutVar*>> CIecCfc::GetCfcInOutVars() {
  return detail::ToTypedVector<CIecCfcInOutVar>(*GetVarIds(IEC_SELECT_IS_IN_OUT_VAR), IEC_OBJ_CFC_IN_OUT_VAR,
                                                "CIecCfcInOutVar");
}

std::unique_ptr<std::vector<CIecObject*>> CIecCfc::GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  auto children = detail::Allocate<std::vector<CIecObject*>>("Cannot create CIecObject* vector.", kSource, __LINE__);
  const std::pair<IEC_OBJECT_TYPE, GlSelect> variables[] = {{IEC_OBJ_CFC_IN_VAR, IEC_SELECT_IS_IN_VAR},
                                                            {IEC_OBJ_CFC_OUT_VAR, IEC_SELECT_IS_OUT_VAR},
                                                            {IEC_OBJ_CFC_IN_OUT_VAR, IEC_SELECT_IS_IN_OUT_VAR}};
  for (const auto& [type, filter] : variables) {
    if (FilterSelects(pvectorFilter, type)) detail::AppendObjects(*children, *GetVarIds(filter), type);
  }
  const std::pair<IEC_OBJECT_TYPE, GlSelect> blocks[] = {{IEC_OBJ_CFC, IEC_SELECT_IS_CFC},
                                                         {IEC_OBJ_FUNCTION_BLOCK, IEC_SELECT_IS_FUNCTION_BLOCK},
                                                         {IEC_OBJ_FUNCTION, IEC_SELECT_IS_FUNCTION}};
  for (const auto& [type, filter] : blocks) {
    if (FilterSelects(pvectorFilter, type)) detail::AppendObjects(*children, *GetBlockIds(filter), type);
  }
  return children;
}

} // namespace OpenData
