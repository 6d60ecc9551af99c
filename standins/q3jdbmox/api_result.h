// Results of the chart-database stand-in: the 64-bit API result layout and the error ids it
// reports beyond those that callers rely on (listed in docs/chartdb-standin.md).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "chartdb/q3jdbmox_types.h"

namespace q3 {

// Origin code of every result the stand-in builds (bits 40-63).
inline constexpr std::uint32_t kResultOrigin = 0x0DB5A1;

// Error ids of the stand-in's own.
enum OwnErrorId : std::uint32_t {
  kErrObjectNotFound = 0x20101,   // no object with that identifier
  kErrWrongObjectType = 0x20102,  // the object is of a kind the function does not take
  kErrInvalidArgument = 0x20103,  // null buffer, unknown mode, unsupported select filter
  kErrNameExists = 0x10104,       // an object of that name exists already
  kErrNotEmpty = 0x20105,         // a task with processing groups, a group with members
  kErrNoProject = 0x20106,        // no project is open
  kErrTransaction = 0x20107,      // unknown transaction, or not the innermost one
  kErrStorage = 0x20108,          // the project file could not be read or written
  kErrTextTooLong = 0x20109,      // a text does not fit its field
  kErrConnection = 0x2010A,       // not a valid connection (ends, already fed, duplicate)
  kErrNoSuchConnection = 0x1010B, // iec_ConnectionDelete: the pair is not connected
  kErrNotInRunSequence = 0x2010C, // gl_RunSeqElemsMove: an element is not in the source
  kErrBufferTooSmall = 0x2010D,   // iec_BlobRead: the buffer is shorter than the blob
  kErrInvalidName = 0x2010E,      // an empty name, or one with a path separator
};

// Builds a result from its fields: error id (24 bits), detail (12 bits), origin (24 bits).
constexpr GlResult MakeResult(std::uint32_t errorId, std::uint32_t detail = 0, std::uint32_t origin = kResultOrigin) {
  return errorId == 0 && detail == 0
             ? 0
             : (static_cast<GlResult>(errorId & 0xFFFFFF) | (static_cast<GlResult>(detail & 0xFFF) << 24) |
                (static_cast<GlResult>(origin & 0xFFFFFF) << 40));
}

constexpr std::uint32_t ErrorIdOf(GlResult result) {
  return static_cast<std::uint32_t>(result & 0xFFFFFF);
}

// Thrown inside the stand-in to end an API call with an error id; never leaves it.
class ApiError : public std::runtime_error {
public:
  explicit ApiError(std::uint32_t errorId, std::string what = {}, std::uint32_t detail = 0)
      : std::runtime_error(what), errorId_(errorId), detail_(detail) {}
  std::uint32_t errorId() const { return errorId_; }
  std::uint32_t detail() const { return detail_; }

private:
  std::uint32_t errorId_;
  std::uint32_t detail_;
};

} // namespace q3
