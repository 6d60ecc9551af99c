#include "opendata/model_support.h"

#include <map>
#include <cstring>

#include "opendata/iec_obj_manager.h"
#include "opendata/open_data_impl.h"

namespace OpenData::detail {

GlTransactionId Transaction() {
  return CIecObjManager::GetInstance()->GetTransactionId();
}

void Check(GlResult result, const char* message, const char* source, int line) {
  if (gl_ErrorIdGet(result) != 0) {
    throw COpenDataException(message, result, source, static_cast<std::uint32_t>(line));
  }
}

TVectorOidAndTypes ReadSources(const CIecTypedObjId& sink, const char* source) {
  TVectorOidAndTypes list;
  GlObjectId from = 0;
  GlObjectType type = grx::dbaccess::kPresetElementType;
  std::int32_t connectionType = 0;
  Iec_Connection connection{};
  std::map<GlObjectId, std::uint32_t> seen;
  Enumerate(
      [&](MODE m) {
        type = grx::dbaccess::kPresetElementType;
        return iec_SourcesGetV6_0(m, sink.id.GetId(), from, type, connectionType, connection, Transaction());
      },
      [&] {
        list.push_back({CIecObjId(from), type});
        CIecObjManager::GetInstance()->AddIecConnection(
            {CIecObjId(from), type}, sink, static_cast<std::uint32_t>(connectionType), connection.flag != 0,
            std::string(connection.textualRef, strnlen(connection.textualRef, sizeof connection.textualRef)),
            seen[from]++);
      },
      "iec_SourcesGetV6_0 failed.", source, __LINE__);
  return list;
}

std::unique_ptr<std::vector<CIecConnection*>> ConnectionsToSink(const TVectorOidAndTypes& sources, GlObjectId sink,
                                                                const char* source) {
  auto result = Allocate<std::vector<CIecConnection*>>("Cannot create CIecConnection* vector.", source, __LINE__);
  std::map<GlObjectId, std::uint32_t> seen;
  for (const auto& from : sources) {
    result->push_back(
        CIecObjManager::GetInstance()->FindIecConnection(from.id, CIecObjId(sink), seen[from.id.GetId()]++));
  }
  return result;
}

} // namespace OpenData::detail
