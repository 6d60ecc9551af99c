#include "opendata/iec_resource.h"

#include "opendata/iec_cfc.h"
#include "opendata/iec_global_var.h"
#include "opendata/iec_task.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecResource";

// Reads a plain identifier list on first use; a failure discards the partial list.
template <class Call>
const ObjectIdVector* ReadIds(std::unique_ptr<ObjectIdVector>& cache, Call&& call, GlObjectId& out,
                              const char* failure) {
  if (!cache) {
    auto list = detail::Allocate<ObjectIdVector>("Cannot create OBJECT ID vector.", kSource, __LINE__);
    detail::Enumerate(
        call, [&] { list->push_back(out); }, failure, kSource, __LINE__);
    cache = std::move(list);
  }
  return cache.get();
}
} // namespace

void CIecResource::Accept(IIecVisitor& visitor) {
  visitor.VisitResource(*this);
}

const Iec_Resource& CIecResource::Record() {
  return detail::CachedRecord(m_record, GetId(), iec_ResourceRead, "Cannot create Iec_Resource object.",
                              "iec_ResourceRead failed.", kSource, __LINE__);
}

std::string CIecResource::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

const ObjectIdVector* CIecResource::GetGlobalVarIds() {
  GlObjectId out = 0;
  return ReadIds(
      m_globalVarIds, [&](MODE m) { return iec_GlobalVarsGet(m, GetId(), out, detail::Transaction()); }, out,
      "iec_GlobalVarsGet failed.");
}

const ObjectIdVector* CIecResource::GetChartIds(GlSelect filter) {
  if (filter != IEC_SELECT_IS_CFC) {
    throw ZEB::CInvalidArgException("<Filter> must be IEC_SELECT_IS_CFC.", kSource, __LINE__);
  }
  GlObjectId out = 0;
  GlObjectType type = IEC_OBJ_NULL;
  return ReadIds(
      m_chartIds, [&](MODE m) { return iec_ChartsGet(m, filter, GetId(), out, type, detail::Transaction()); }, out,
      "iec_ChartsGet failed.");
}

const ObjectIdVector* CIecResource::GetTaskIds() {
  GlObjectId out = 0;
  return ReadIds(
      m_taskIds, [&](MODE m) { return iec_TasksGet(m, GetId(), out, detail::Transaction()); }, out,
      "iec_TasksGet failed.");
}

std::unique_ptr<std::vector<CIecGlobalVar*>> CIecResource::GetGlobalVars() {
  return detail::ToTypedVector<CIecGlobalVar>(*GetGlobalVarIds(), IEC_OBJ_GLOBAL_VAR, "CIecGlobalVar");
}

std::unique_ptr<std::vector<CIecCfc*>> CIecResource::GetCharts() {
  return detail::ToTypedVector<CIecCfc>(*GetChartIds(IEC_SELECT_IS_CFC), IEC_OBJ_CFC, "CIecCfc");
}

std::unique_ptr<std::vector<CIecTask*>> CIecResource::GetTasks() {
  return detail::ToTypedVector<CIecTask>(*GetTaskIds(), IEC_OBJ_TASK, "CIecTask");
}

std::unique_ptr<std::vector<CIecObject*>> CIecResource::GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  auto children = detail::Allocate<std::vector<CIecObject*>>("Cannot create CIecObject* vector.", kSource, __LINE__);
  if (FilterSelects(pvectorFilter, IEC_OBJ_GLOBAL_VAR)) {
    detail::AppendObjects(*children, *GetGlobalVarIds(), IEC_OBJ_GLOBAL_VAR);
  }
  if (FilterSelects(pvectorFilter, IEC_OBJ_CFC)) {
    detail::AppendObjects(*children, *GetChartIds(IEC_SELECT_IS_CFC), IEC_OBJ_CFC);
  }
  if (FilterSelects(pvectorFilter, IEC_OBJ_TASK)) detail::AppendObjects(*children, *GetTaskIds(), IEC_OBJ_TASK);
  return children;
}

IEC_DateAndTime CIecResource::GetAlterationTime() {
  if (!m_alterationTime) {
    auto stamp = detail::Allocate<IEC_DateAndTime>("Cannot create IEC_DateAndTime object.", kSource, __LINE__);
    if (gl_ErrorIdGet(gl_TimeStampAlterationGet(GetId(), *stamp, detail::Transaction())) != 0) {
      throw COpenDataException("gl_TimeStampAlterationGet failed.", ~GlResult{0}, kSource, __LINE__);
    }
    m_alterationTime = std::move(stamp);
  }
  return *m_alterationTime;
}

IEC_DateAndTime CIecResource::GetStructureAlterationTime() {
  if (!m_structureAlterationTime) {
    auto stamp = detail::Allocate<IEC_DateAndTime>("Cannot create IEC_DateAndTime object.", kSource, __LINE__);
    if (gl_ErrorIdGet(gl_TimeStampAsStructureAlterationGet(GetId(), *stamp, detail::Transaction())) != 0) {
      throw COpenDataException("gl_TimeStampAsStructureAlterationGet failed.", ~GlResult{0}, kSource, __LINE__);
    }
    m_structureAlterationTime = std::move(stamp);
  }
  return *m_structureAlterationTime;
}

} // namespace OpenData
