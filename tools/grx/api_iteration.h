// Running a listing of the chart-database API from grx, through the one listing primitive.
#pragma once

#include <cstdio>
#include <string>

#include "project_client.h"
#include "dbaccess/listing.h"
#include "grx_error.h"

namespace grx::cli {

// call(mode) makes one API call; each delivered element is handed to onElement(); a failed
// listing throws GrxError naming the function.
template <class Call, class OnElement>
void ForEachElement(ChartDbClient& db, const char* function, Call&& call, OnElement&& onElement) {
  const auto outcome = dbaccess::ForEachListedWith([&](GlResult result) { return db.ErrorId(result); },
                                                   std::forward<Call>(call), [&] { onElement(); });
  if (outcome.failed()) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%05X", outcome.errorId);
    throw GrxError(std::string(function) + " failed with error id " + text);
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
