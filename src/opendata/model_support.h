// Helpers shared by the classes of the object model: allocation with the model's failure
// messages, the thread's transaction identifier, checked chart-database calls, and the
// enumeration protocol over identifier lists.
#pragma once

#include <memory>
#include <new>
#include <string>

#include "dbaccess/chartdb_functions.h"
#include "dbaccess/listing.h"
#include "foundation/exceptions.h"
#include "opendata/iec_obj_id.h"
#include "opendata/open_data_exception.h"

namespace OpenData::detail {

// Allocates with make_unique; an allocation failure raises CMemoryException with the message.
template <class T, class... Args>
std::unique_ptr<T> Allocate(const char* message, const char* source, int line, Args&&... args) {
  try {
    return std::make_unique<T>(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    throw ZEB::CMemoryException(message, source, static_cast<std::uint32_t>(line));
  }
}

// The transaction identifier of the calling thread's manager.
GlTransactionId Transaction();

// Raises COpenDataException when the call's error id is not 0.
void Check(GlResult result, const char* message, const char* source, int line);

// The record of an object, read on first use with read(id, record, transaction). A failed
// allocation or read raises with the class's message and leaves the cache empty, so the next use
// reads again.
template <class Record, class Read>
Record& CachedRecord(std::unique_ptr<Record>& cache, GlObjectId id, Read&& read, const char* allocFailure,
                     const char* readFailure, const char* source, int line) {
  if (!cache) {
    auto record = Allocate<Record>(allocFailure, source, line);
    Check(read(id, *record, Transaction()), readFailure, source, line);
    cache = std::move(record);
  }
  return *cache;
}

// Runs a listing: call(mode) makes one chart-database call that delivers into the caller's
// out-variables; onItem() takes each delivered item. A failed listing raises COpenDataException
// with the message.
template <class Call, class OnItem>
void Enumerate(Call&& call, OnItem&& onItem, const char* message, const char* source, int line) {
  const auto outcome = grx::dbaccess::ForEachListed(std::forward<Call>(call), [&] { onItem(); });
  if (outcome.failed()) throw COpenDataException(message, outcome.result, source, static_cast<std::uint32_t>(line));
}

} // namespace OpenData::detail
