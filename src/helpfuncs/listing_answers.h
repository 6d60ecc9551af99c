// What the error id of a listing call of the chart database says: an element was delivered (0,
// or 166 with the last one), or the listing ended without one (36); anything else is a failure.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"

namespace grx::helpfuncs {

inline bool Delivered(std::uint32_t errorId) {
  return errorId == 0 || errorId == GL_ERR_LAST_ELEMENT;
}

inline bool EndOrDelivered(std::uint32_t errorId) {
  return Delivered(errorId) || errorId == GL_ERR_NO_MORE_ELEMENTS;
}

} // namespace grx::helpfuncs
