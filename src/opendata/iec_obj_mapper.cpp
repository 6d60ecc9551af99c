#include "opendata/iec_obj_mapper.h"

#include "opendata/iec_obj_factory.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_object.h"

namespace OpenData {

CIecObjMapper::CIecObjMapper(IEC_OBJECT_TYPE type) : m_objectType(type) {}

CIecObjMapper::~CIecObjMapper() = default;

CIecObject* CIecObjMapper::Find(const CIecObjId& roid, CIecObjFactory* pFactory) {
  if (const auto it = m_objects.find(roid); it != m_objects.end()) return it->second.get();
  std::unique_ptr<CIecObject> created = pFactory->CreateIecObject(roid, m_objectType);
  CIecObject* object = created.get();
  try {
    m_objects.emplace(roid, std::move(created));
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException("Cannot add CIecObject object to map.", "IecObjMapper", __LINE__);
  }
  return object;
}

void CIecObjMapper::Clear() {
  m_objects.clear();
}

} // namespace OpenData
