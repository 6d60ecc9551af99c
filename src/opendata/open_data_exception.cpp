#include "opendata/open_data_exception.h"

#include "foundation/object_trace.h"

namespace OpenData {

COpenDataException::COpenDataException(const char* message, GlResult apiResult, const char* file, std::uint32_t line)
    : ZEB::CException(message, ZEB::kNoErrorCode, file, line), m_apiResult(apiResult) {
  try {
    const std::string given = message ? message : "";
    SetMessage(given.empty() ? std::string("OPEN-DATA exception") : "OPEN-DATA exception: " + given);
  } catch (...) {
    ZEB::CObject::Trace(3, "COpenDataException::COpenDataException", "Unexpected exception occured.");
  }
}

} // namespace OpenData
