#include "opendata/model_support.h"

#include "opendata/iec_obj_manager.h"

namespace OpenData::detail {

GlTransactionId Transaction() { return CIecObjManager::GetInstance()->GetTransactionId(); }

void Check(GlResult result, const char* message, const char* source, int line) {
  if (gl_ErrorIdGet(result) != 0) {
    throw COpenDataException(message, result, source, static_cast<std::uint32_t>(line));
  }
}

} // namespace OpenData::detail
