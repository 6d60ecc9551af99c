// Results that the binding layer builds itself, in the API's 64-bit layout: error id in bits
// 0-23, detail in bits 24-35, bits 36-39 zero, origin in bits 40-63.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"

namespace grx::dbaccess {

inline constexpr std::uint32_t kNotAvailable = 0x201EA;     // library or function not available
inline constexpr std::uint32_t kBindingOrigin = 0x315E0;    // results of the wrappers
inline constexpr std::uint32_t kSupportedOrigin = 0x315EA;  // results of gl_isSupported
inline constexpr std::uint32_t kFunctionMissingDetail = 10; // WRAP_PRIV_FUNC_NOT_AVAIL
inline constexpr std::uint32_t kLibraryMissingDetail = 20;  // WRAP_PRIV_DLL_NOT_AVAIL
inline constexpr std::uint32_t kOtherBindDetail = 30;
inline constexpr std::uint32_t kUnknownNameDetail = 4095; // gl_isSupported answered by probing
// The library's refusal of a text that does not fit its field of the chart database (the id the
// chart database answers for such a text).
inline constexpr std::uint32_t kTextTooLong = 0x20109;
inline constexpr std::uint32_t kLibraryOrigin = 0x315E1;

constexpr GlResult MakeApiResult(std::uint32_t errorId, std::uint32_t detail, std::uint32_t origin) {
  return static_cast<GlResult>(errorId & 0xFFFFFF) | (static_cast<GlResult>(detail & 0xFFF) << 24) |
         (static_cast<GlResult>(origin & 0xFFFFFF) << 40);
}

} // namespace grx::dbaccess
