// Running the chart-database API from grx: listings through the one listing primitive, checked
// single calls, changes inside one transaction.
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

// One transaction around a change; rolled back when the change throws, else committed (or,
// with keep false, rolled back all the same: a trial run).
template <class Change>
void InTransaction(ChartDbClient& db, Change&& change, bool keep = true) {
  GlTransactionId tr = 0;
  if (db.ErrorId(db.gl_TransactionBegin(tr, kNoTransaction)) != 0) throw GrxError("cannot begin a transaction");
  try {
    change(tr);
  } catch (...) {
    db.gl_TransactionAbort(tr);
    throw;
  }
  if (!keep) {
    if (db.ErrorId(db.gl_TransactionAbort(tr)) != 0) throw GrxError("cannot roll the transaction back");
    return;
  }
  if (db.ErrorId(db.gl_TransactionCommit(tr)) != 0) throw GrxError("cannot commit the transaction");
}

} // namespace grx::cli
