// A mapper caches the objects of one IEC object type by identifier and has the factory create
// those it does not hold yet.
#pragma once

#include <map>
#include <memory>

#include "foundation/object_trace.h"
#include "opendata/iec_obj_id.h"

namespace OpenData {

class CIecObject;
class CIecObjFactory;

class CIecObjMapper : public ZEB::CObject {
public:
  explicit CIecObjMapper(IEC_OBJECT_TYPE type);
  ~CIecObjMapper() override;
  CIecObject* Find(const CIecObjId& roid, CIecObjFactory* pFactory);
  void Clear();
  IEC_OBJECT_TYPE GetObjectType() const { return m_objectType; }

private:
  IEC_OBJECT_TYPE m_objectType;
  std::map<CIecObjId, std::unique_ptr<CIecObject>> m_objects;
};

} // namespace OpenData
