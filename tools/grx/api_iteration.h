// Running the chart-database API from grx: listings through the one listing primitive, checked
// single calls, changes inside one transaction.
#pragma once

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
    throw GrxError("the chart database could not list what was asked for", function, outcome.errorId);
  }
}

// Throws GrxError when a single API call failed.
inline void Check(ChartDbClient& db, const char* function, GlResult result) {
  if (const std::uint32_t errorId = db.ErrorId(result); errorId != 0) {
    throw GrxError("the chart database refused a call", function, errorId);
  }
}

// One transaction around a change; rolled back when the change throws, else committed (or,
// with keep false, rolled back all the same: a trial run).
template <class Change>
void InTransaction(ChartDbClient& db, Change&& change, bool keep = true) {
  GlTransactionId tr = 0;
  Check(db, "gl_TransactionBegin", db.gl_TransactionBegin(tr, kNoTransaction));
  try {
    change(tr);
  } catch (...) {
    db.gl_TransactionAbort(tr);
    throw;
  }
  if (!keep) {
    Check(db, "gl_TransactionAbort", db.gl_TransactionAbort(tr));
    return;
  }
  if (const std::uint32_t errorId = db.ErrorId(db.gl_TransactionCommit(tr)); errorId != 0) {
    // The frame's session rolls everything back; the transaction is closed for it.
    db.gl_TransactionAbort(tr);
    throw GrxError("the transaction could not be committed", "gl_TransactionCommit", errorId);
  }
}

} // namespace grx::cli
