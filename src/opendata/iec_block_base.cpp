#include "opendata/iec_block_base.h"

#include "dbaccess/root_chart_walk.h"
#include "foundation/exceptions.h"
#include "opendata/iec_cfc.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecBlockBase";
} // namespace

const ObjectIdVector* CIecBlockBase::GetVarIds(GlSelect filter) {
  if (filter != IEC_SELECT_IS_IN_VAR && filter != IEC_SELECT_IS_OUT_VAR && filter != IEC_SELECT_IS_IN_OUT_VAR) {
    throw ZEB::CInvalidArgException(
        "<Filter> must be IEC_SELECT_IS_IN_VAR, IEC_SELECT_IS_OUT_VAR or IEC_SELECT_IS_IN_OUT_VAR.", kSource, __LINE__);
  }
  auto& cached = m_varIds[filter];
  if (!cached) {
    std::unique_ptr<ObjectIdVector> list;
    try {
      list = std::make_unique<ObjectIdVector>();
    } catch (const std::bad_alloc&) {
      throw ZEB::CIllegalStateException("Cannot create OBJECT ID vector.", kSource, __LINE__);
    }
    GlObjectId var = 0;
    GlObjectType type = IEC_OBJ_NULL;
    detail::Enumerate([&](MODE m) { return iec_VarsGet(m, filter, GetId(), var, type, detail::Transaction()); },
                      [&] { list->push_back(var); }, "iec_VarsGet failed.", kSource, __LINE__);
    cached = std::move(list);
  }
  return cached.get();
}

GlObjectId CIecBlockBase::GetCfcId() {
  if (!m_hasCfc) return 0;
  if (m_cfcId != 0) return m_cfcId;
  GlObjectId chart = 0;
  const GlResult result = iec_BlockCfcGet(GetId(), chart, detail::Transaction());
  const std::uint32_t errorId = gl_ErrorIdGet(result);
  if (errorId == GL_ERR_NOT_IN_CHART) {
    m_hasCfc = false;
    return 0;
  }
  if (errorId != 0) throw COpenDataException("iec_BlockCfcGet failed.", result, kSource, __LINE__);
  m_cfcId = chart;
  return m_cfcId;
}

GlObjectId CIecBlockBase::GetCfcIdRoot() {
  if (!m_hasCfc) return GetId();
  const grx::dbaccess::RootChartWalk walk = grx::dbaccess::WalkToRootChart(GetId(), detail::Transaction());
  if (walk.failure != 0) throw COpenDataException("GetCfcIdRoot_i failed.", walk.failure, kSource, __LINE__);
  if (walk.cycle != 0) {
    throw ZEB::CIllegalStateException("GetCfcIdRoot_i failed: charts contain each other.", kSource, __LINE__);
  }
  return walk.root;
}

CIecCfc* CIecBlockBase::FindChart(GlObjectId id) {
  if (id == 0) return nullptr;
  auto* chart = dynamic_cast<CIecCfc*>(CIecObjManager::GetInstance()->FindIecObject(CIecObjId(id), IEC_OBJ_CFC));
  if (!chart) throw ZEB::CIllegalStateException("CIecCfc-Object expected to", kSource, __LINE__);
  return chart;
}

CIecCfc* CIecBlockBase::GetCfc() {
  return FindChart(GetCfcId());
}

CIecCfc* CIecBlockBase::GetRootCfc() {
  return FindChart(GetCfcIdRoot());
}

} // namespace OpenData
