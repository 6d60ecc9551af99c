// The typed-list conversion shared by every listing operation of the model: identifiers into
// objects of the class the caller expects, through the thread's manager.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/exceptions.h"
#include "opendata/iec_obj_id.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_connection.h"
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

// Lists the sources of a sink with iec_SourcesGetV6_0 and registers each pair with the manager.
TVectorOidAndTypes ReadSources(const CIecTypedObjId& sink, const char* source);
// The cached connections from each listed source to the sink, in list order.
std::unique_ptr<std::vector<CIecConnection*>> ConnectionsToSink(const TVectorOidAndTypes& sources, GlObjectId sink,
                                                                const char* source);

// Reads a typed identifier list: call(mode, id, type) makes one call; the type out-value is
// preset to kPresetElementType before each.
template <class Call>
TVectorOidAndTypes ReadTypedList(Call&& call, const char* failure, const char* source, int line) {
  TVectorOidAndTypes list;
  GlObjectId id = 0;
  GlObjectType type = grx::dbaccess::kPresetElementType;
  Enumerate(
      [&](MODE mode) {
        type = grx::dbaccess::kPresetElementType;
        return call(mode, id, type);
      },
      [&] {
        list.push_back({CIecObjId(id), type});
      },
      failure, source, line);
  return list;
}

} // namespace OpenData::detail
