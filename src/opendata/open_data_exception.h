// The failure of a chart-database call inside the object model or the blob layer: the message
// "OPEN-DATA exception: ..." with the call's 64-bit API result.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"
#include "foundation/exceptions.h"

namespace OpenData {

class COpenDataException : public ZEB::CException {
public:
  COpenDataException(const char* message, GlResult apiResult, const char* file, std::uint32_t line);
  GlResult GetApiResult() const { return m_apiResult; }
  // Slot 2 of this class answers an empty text.
  virtual std::string GetDetails() const { return {}; }

private:
  GlResult m_apiResult;
};

} // namespace OpenData
