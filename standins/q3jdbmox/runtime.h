// Process-wide state of the chart-database stand-in and the frame of every API call: one lock,
// the open project, call counters, injected faults and the positions of running iterations.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>

#include "api_result.h"
#include "fault_injector.h"
#include "project_store.h"
#include "platform/export_macros.h"

namespace q3 {

inline constexpr const char* kDefaultSoftwareVersion = "V7.1";

class Runtime {
public:
  static Runtime& Instance();

  std::recursive_mutex& mutex() { return mutex_; }

  // The open project; opens the one named by Q3JDBMOX_PROJECT on first use.
  ProjectStore& Store();
  bool HasProject() const { return store_ != nullptr; }
  void Open(const std::string& path, bool create, bool readOnly = false);
  void Adopt(std::unique_ptr<ProjectStore> store);
  void Close();

  // Software version: set by control call, else Q3JDBMOX_SOFTWARE_VERSION, else "V7.1".
  std::string SoftwareVersion() const;
  void SetSoftwareVersion(const char* version);

  FaultInjector& faults() { return faults_; }
  void CountCall(std::string_view function);
  std::uint64_t CallCount(std::string_view function) const;
  void ResetCallCounts() { callCounts_.clear(); }
  void NoteErrorHandler(std::uint32_t errorId) {
    ++errorHandlerCalls_;
    lastHandledError_ = errorId;
  }
  std::uint64_t errorHandlerCalls(std::uint32_t* lastErrorId) const {
    if (lastErrorId) *lastErrorId = lastHandledError_;
    return errorHandlerCalls_;
  }

  // Positions of iterations without a cursor, per calling thread, function, parent and filter.
  using IterationKey = std::tuple<std::thread::id, std::string_view, GlObjectId, GlSelect>;
  std::optional<std::int64_t> Position(const IterationKey& key) const;
  void SetPosition(const IterationKey& key, std::int64_t order) { positions_[key] = order; }
  void ErasePosition(const IterationKey& key) { positions_.erase(key); }

private:
  Runtime() = default;
  void ResetSession();

  std::recursive_mutex mutex_;
  std::unique_ptr<ProjectStore> store_;
  std::string softwareVersion_;
  FaultInjector faults_;
  std::map<std::string, std::uint64_t, std::less<>> callCounts_;
  std::map<IterationKey, std::int64_t> positions_;
  std::uint64_t errorHandlerCalls_ = 0;
  std::uint32_t lastHandledError_ = 0;
};

// A text kept for the calling thread under a slot name; valid until the thread's next use of
// the same slot.
std::string& ThreadText(const char* slot);
// Text of the last failure seen by the calling thread (API or control call).
void SetLastError(std::string text);
const std::string& LastError();

enum class Access { Read, Write };

// Runs the body of an API function under the stand-in's lock: counts the call, applies an
// injected fault, checks the transaction, and turns the body's answer (an error id: 0, 36, 166
// and the like) or its failure into an API result. A write runs inside a savepoint so that a
// failing call changes nothing.
template <class Body>
GlResult RunApiCall(std::string_view function, GlTransactionId tr, Access access, Body&& body);

// Runs a function that needs no project (conversions, versions).
template <class Body>
GlResult RunPlainCall(std::string_view function, Body&& body);

// Where an iteration keeps its position: the caller's cursor or the per-thread table.
class IterationPlace {
public:
  static IterationPlace Keyed(std::string_view function, GlObjectId parent, GlSelect filter = 0) {
    IterationPlace p;
    p.key_ = Runtime::IterationKey{std::this_thread::get_id(), function, parent, filter};
    return p;
  }
  static IterationPlace Cursor(std::uint64_t& cursor) {
    IterationPlace p;
    p.cursor_ = &cursor;
    return p;
  }
  std::optional<std::int64_t> Get() const;
  void Set(std::int64_t order);
  void Finish();

private:
  std::optional<Runtime::IterationKey> key_;
  std::uint64_t* cursor_ = nullptr;
};

// The iteration protocol: M_FIRST starts, M_NEXT goes on from the place; 0 = delivered,
// 166 = delivered the last, 36 = nothing delivered. fetch(after, limit) lists rows whose
// order is greater than after; deliver(row) fills the caller's out-values.
template <class Fetch, class Deliver>
std::uint32_t Iterate(MODE mode, IterationPlace place, Fetch&& fetch, Deliver&& deliver) {
  std::int64_t after = 0;
  if (mode == M_FIRST) {
    after = 0;
  } else if (mode == M_NEXT) {
    const auto position = place.Get();
    if (!position) {
      return GL_ERR_NO_MORE_ELEMENTS;
    }
    after = *position;
  } else {
    throw ApiError(kErrInvalidArgument, "iteration mode must be M_FIRST or M_NEXT");
  }
  const auto rows = fetch(after, std::size_t{2});
  if (rows.empty()) {
    place.Finish();
    return GL_ERR_NO_MORE_ELEMENTS;
  }
  deliver(rows.front());
  if (rows.size() == 1) {
    // Nothing follows: a keyed place is dropped (M_NEXT without a place finds nothing), a
    // cursor keeps the position so that M_NEXT finds nothing after it.
    place.Set(rows.front().order);
    place.Finish();
    return GL_ERR_LAST_ELEMENT;
  }
  place.Set(rows.front().order);
  return 0;
}

// Text helpers. Out-buffers receive at most size-1 characters and a terminating zero.
void CopyText(char* dst, std::size_t size, std::string_view text);
template <std::size_t N>
void CopyText(char (&dst)[N], std::string_view text) {
  CopyText(dst, N, text);
}
// A zero-terminated text from a caller's fixed field; kErrInvalidArgument when unterminated.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  const std::size_t length = strnlen(field, N);
  if (length == N) {
    throw ApiError(kErrInvalidArgument, "text field is not terminated");
  }
  return std::string(field, length);
}
// A caller's text that must fit a field of size bytes (with terminator).
std::string InputText(const char* text, std::size_t size);
void RequireBuffer(const void* buffer);

// ----------------------------------------------------------------------------------------------

template <class Body>
GlResult RunApiCall(std::string_view function, GlTransactionId tr, Access access, Body&& body) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  rt.CountCall(function);
  if (auto fault = rt.faults().OnCall(std::string(function))) {
    SetLastError(std::string(function) + ": injected fault");
    return MakeResult(*fault);
  }
  bool inCall = false;
  ProjectStore* store = nullptr;
  try {
    store = &rt.Store();
    store->CheckTransaction(tr, access == Access::Write);
    if (access == Access::Write) {
      store->BeginCall();
      store->db().Exec("SAVEPOINT q3call");
      inCall = true;
    }
    const std::uint32_t errorId = body(*store);
    if (inCall) {
      store->db().Exec("RELEASE q3call");
    }
    return MakeResult(errorId);
  } catch (const std::exception& e) {
    std::uint32_t errorId = kErrStorage;
    std::uint32_t detail = 0;
    if (const auto* api = dynamic_cast<const ApiError*>(&e)) {
      errorId = api->errorId();
      detail = api->detail();
    } else if (const auto* sql = dynamic_cast<const SqliteError*>(&e)) {
      detail = static_cast<std::uint32_t>(sql->code()) & 0xFFF;
    }
    if (inCall) {
      try {
        store->db().Exec("ROLLBACK TO q3call");
        store->db().Exec("RELEASE q3call");
        store->UndoCallTouches();
      } catch (const std::exception&) {
      }
    }
    SetLastError(std::string(function) + ": " + e.what());
    return MakeResult(errorId, detail);
  }
}

template <class Body>
GlResult RunPlainCall(std::string_view function, Body&& body) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  rt.CountCall(function);
  if (auto fault = rt.faults().OnCall(std::string(function))) {
    return MakeResult(*fault);
  }
  try {
    return MakeResult(body());
  } catch (const ApiError& e) {
    SetLastError(std::string(function) + ": " + e.what());
    return MakeResult(e.errorId(), e.detail());
  } catch (const std::exception& e) {
    SetLastError(std::string(function) + ": " + e.what());
    return MakeResult(kErrStorage);
  }
}

} // namespace q3

#define Q3_EXPORT GRX_MODULE_EXPORT
