#include "opendata/iec_processing_group.h"

#include "opendata/iec_connection.h"
#include "opendata/iec_task.h"
#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecProcessingGroup";
} // namespace

void CIecProcessingGroup::Accept(IIecVisitor& visitor) {
  visitor.VisitProcessingGroup(*this);
}

const Iec_ProcessingGroup& CIecProcessingGroup::Record() {
  return detail::CachedRecord(m_record, GetId(), iec_ProcessingGroupRead, "Cannot create Iec_ProcessingGroup object.",
                              "iec_ProcessingGroupRead failed.", kSource, __LINE__);
}

std::string CIecProcessingGroup::GetName() {
  if (NameCache().empty()) NameCache() = Record().name;
  return NameCache();
}

std::string CIecProcessingGroup::GetComment() {
  if (CommentCache().empty()) CommentCache() = Record().comment;
  return CommentCache();
}

std::uint16_t CIecProcessingGroup::GetReduction() {
  return Record().reduction;
}
std::uint16_t CIecProcessingGroup::GetPhase() {
  return Record().phase;
}

const TVectorOidAndTypes* CIecProcessingGroup::GetBlockIds(GlSelect filter) {
  if (filter != IEC_SELECT_ALL) throw ZEB::CInvalidArgException("<Filter> must be IEC_SELECT_ALL.", kSource, __LINE__);
  if (!m_blocks) {
    auto list = detail::Allocate<TVectorOidAndTypes>("Cannot create OBJECT ID vector.", kSource, __LINE__);
    *list = detail::ReadTypedList(
        [&](MODE m, GlObjectId& block, GlObjectType& type) {
          return iec_ProcessingGroupBlocksGet(m, filter, GetId(), block, type, detail::Transaction());
        },
        "iec_ProcessingGroupBlocksGet failed.", kSource, __LINE__);
    m_blocks = std::move(list);
  }
  return m_blocks.get();
}

std::unique_ptr<std::vector<IIecProcGroupElement*>> CIecProcessingGroup::GetProcGroupElements() {
  return detail::ToTypedVector<IIecProcGroupElement>(*GetBlockIds(IEC_SELECT_ALL), "IIecProcGroupElement");
}

std::unique_ptr<std::vector<CIecObject*>> CIecProcessingGroup::GetChildren(
    const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  if (pvectorFilter) throw ZEB::CInvalidArgException("pvectorFilter != NULL not yet supported.", kSource, __LINE__);
  return detail::ToTypedVector<CIecObject>(*GetBlockIds(IEC_SELECT_ALL), "CIecObject");
}

GlObjectId CIecProcessingGroup::GetTaskId() {
  if (m_taskId == 0) {
    GlObjectId task = 0;
    detail::Check(iec_ProcessingGroupTaskGet(GetId(), task, detail::Transaction()),
                  "iec_ProcessingGroupTaskGet failed.", kSource, __LINE__);
    m_taskId = task;
  }
  return m_taskId;
}

CIecTask* CIecProcessingGroup::GetTask() {
  auto* task =
      dynamic_cast<CIecTask*>(CIecObjManager::GetInstance()->FindIecObject(CIecObjId(GetTaskId()), IEC_OBJ_TASK));
  if (!task) {
    throw ZEB::CIllegalStateException("CIecTask-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      kSource, __LINE__);
  }
  return task;
}

const TVectorOidAndTypes* CIecProcessingGroup::GetSourceIds() {
  if (!m_sources) {
    auto list = detail::Allocate<TVectorOidAndTypes>("Cannot create TVectorOidAndTypes vector.", kSource, __LINE__);
    *list = detail::ReadSources({CIecObjId(GetId()), IEC_OBJ_PROCESSING_GROUP}, kSource);
    m_sources = std::move(list);
  }
  return m_sources.get();
}

std::unique_ptr<std::vector<CIecConnection*>> CIecProcessingGroup::GetSourceConnections() {
  return detail::ConnectionsToSink(*GetSourceIds(), GetId(), kSource);
}

std::unique_ptr<std::vector<IIecSource*>> CIecProcessingGroup::GetSources() {
  return detail::ToTypedVector<IIecSource>(*GetSourceIds(), "IIecSource");
}

void CIecProcessingGroup::ClearSources() {
  m_sources.reset();
}

std::unique_ptr<std::vector<CIecConnection*>> CIecProcessingGroup::GetSinkConnections() {
  return std::make_unique<std::vector<CIecConnection*>>();
}

std::unique_ptr<std::vector<IIecSink*>> CIecProcessingGroup::GetSinks() {
  return std::make_unique<std::vector<IIecSink*>>();
}

} // namespace OpenData
