// The typed-list conversion shared by every listing operation of the model: identifiers into
// objects of the class the caller expects, through the thread's manager.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/exceptions.h"
#include "opendata/iec_obj_id.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_object.h"
#include "opendata/model_support.h"

namespace OpenData::detail {

inline constexpr const char* kImplSource = "OpenDataImpl";

// Members of type IEC_OBJ_NULL give null pointers; others are found and converted to T.
template <class T>
std::unique_ptr<std::vector<T*>> ToTypedVector(const TVectorOidAndTypes& list, const std::string& typeName) {
  auto result = Allocate<std::vector<T*>>(("Cannot create " + typeName + "* vector.").c_str(), kImplSource, __LINE__);
  result->reserve(list.size());
  for (const CIecTypedObjId& member : list) {
    if (member.type == IEC_OBJ_NULL) {
      result->push_back(nullptr);
      continue;
    }
    CIecObject* object = CIecObjManager::GetInstance()->FindIecObject(CIecObjId(member.id.GetId()), member.type);
    T* converted = dynamic_cast<T*>(object);
    if (!converted) {
      throw ZEB::CIllegalStateException(
          (typeName + " object expected to be returned by CIecObjManager::FindIecObject.").c_str(), kImplSource,
          __LINE__);
    }
    result->push_back(converted);
  }
  return result;
}

template <class T>
std::unique_ptr<std::vector<T*>> ToTypedVector(const ObjectIdVector& ids, IEC_OBJECT_TYPE type,
                                               const std::string& typeName) {
  TVectorOidAndTypes list;
  list.reserve(ids.size());
  for (GlObjectId id : ids) list.push_back({CIecObjId(id), type});
  return ToTypedVector<T>(list, typeName);
}

// Appends the objects of a list to a children vector.
inline void AppendObjects(std::vector<CIecObject*>& children, const ObjectIdVector& ids, IEC_OBJECT_TYPE type) {
  for (GlObjectId id : ids) children.push_back(CIecObjManager::GetInstance()->FindIecObject(CIecObjId(id), type));
}

} // namespace OpenData::detail
