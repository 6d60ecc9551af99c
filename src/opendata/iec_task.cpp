#include "opendata/iec_task.h"

#include "opendata/iec_visitor.h"
#include "opendata/open_data_impl.h"

namespace OpenData {
namespace {
constexpr const char* kSource = "IecTask";
} // namespace

void CIecTask::Accept(IIecVisitor& visitor) {
  visitor.VisitTask(*this);
}

std::string CIecTask::GetName() {
  detail::CachedRecord(m_record, GetId(), iec_TaskRead, "Cannot create Iec_Task object.", "iec_TaskRead failed.",
                       kSource, __LINE__);
  if (NameCache().empty()) NameCache() = m_record->name;
  return NameCache();
}

const TVectorOidAndTypes* CIecTask::GetElementIds(GlSelect filter) {
  if (filter != IEC_SELECT_ALL) throw ZEB::CInvalidArgException("<Filter> must be IEC_SELECT_ALL.", kSource, __LINE__);
  if (!m_elements) {
    auto list = detail::Allocate<TVectorOidAndTypes>("Cannot create TVectorOidAndTypes object.", kSource, __LINE__);
    *list = detail::ReadTypedList(
        [&](MODE m, GlObjectId& element, GlObjectType& type) {
          return iec_TaskElementsGet(m, filter, GetId(), element, type, detail::Transaction());
        },
        "iec_TaskElementsGet failed.", kSource, __LINE__);
    m_elements = std::move(list);
  }
  return m_elements.get();
}

std::unique_ptr<std::vector<IIecTaskElement*>> CIecTask::GetTaskElements() {
  return detail::ToTypedVector<IIecTaskElement>(*GetElementIds(IEC_SELECT_ALL), "IIecTaskElement");
}

std::unique_ptr<std::vector<CIecObject*>> CIecTask::GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) {
  if (pvectorFilter) throw ZEB::CInvalidArgException("pvectorFilter != NULL not yet supported.", kSource, __LINE__);
  return detail::ToTypedVector<CIecObject>(*GetElementIds(IEC_SELECT_ALL), "CIecObject");
}

} // namespace OpenData
