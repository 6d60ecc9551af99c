// Running an iteration of the chart-database API from grx: M_FIRST, then M_NEXT until the last
// element (166) or nothing more (36); any other error id is a failure.
#pragma once

#include <cstdio>
#include <string>

#include "chartdb_client.h"
#include "grx_error.h"

namespace grx::cli {

// call(mode) makes one API call; each delivered element is handed to onElement().
template <class Call, class OnElement>
void ForEachElement(ChartDbClient& db, const char* function, Call&& call, OnElement&& onElement) {
  MODE mode = M_FIRST;
  for (;;) {
    const std::uint32_t errorId = db.ErrorId(call(mode));
    if (errorId == GL_ERR_NO_MORE_ELEMENTS) return;
    if (errorId != 0 && errorId != GL_ERR_LAST_ELEMENT) {
      char text[32];
      std::snprintf(text, sizeof text, "0x%05X", errorId);
      throw GrxError(std::string(function) + " failed with error id " + text);
    }
    onElement();
    if (errorId == GL_ERR_LAST_ELEMENT) return;
    mode = M_NEXT;
  }
}

// Throws GrxError when a single API call failed.
inline void Check(ChartDbClient& db, const char* function, GlResult result) {
  if (const std::uint32_t errorId = db.ErrorId(result); errorId != 0) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%05X", errorId);
    throw GrxError(std::string(function) + " failed with error id " + text);
  }
}

} // namespace grx::cli
