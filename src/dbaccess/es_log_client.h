// A client of the logging library ES_LOG.DLL: one trace channel of the call trace. The logging
// library alone decides whether a channel is on: after every line it writes the client's state
// byte, and a state other than 2 switches the client off for good.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include "platform/export_macros.h"

namespace grx::dbaccess {

using EsLogEventFn = std::int32_t (*)(const char* clientName, const char* text, void* clientRecord);
using TraceTransform = std::string (*)(std::string_view line);

// The client record handed to eslog_logEventV2; the logging library writes the state word at
// its start.
class EsLogClient {
public:
  EsLogClient(const char* clientName, const char* version, TraceTransform transform);
  ~EsLogClient();
  EsLogClient(const EsLogClient&) = delete;
  EsLogClient& operator=(const EsLogClient&) = delete;

  bool on() const { return enabled_.load(std::memory_order_relaxed); }
  void Deliver(std::string_view line);
  // A line formatted into a 1,024-character buffer; a null format delivers "???".
  void DeliverFormatted(const char* format, ...) GRX_PRINTF_FORMAT(2, 3);
  const char* name() const { return clientName_; }

private:
  bool EnsureLoaded();
  void Send(std::string_view line);

  std::atomic<std::uint32_t> state_{0}; // written by the logging library; 2 = go on logging
  std::atomic<void*> module_{nullptr};
  std::atomic<EsLogEventFn> entry_{nullptr};
  std::atomic<bool> enabled_{true};
  TraceTransform transform_;
  char clientName_[50] = {};
  const char* version_;
};
static_assert(sizeof(std::atomic<std::uint32_t>) == 4, "the state word is a plain 32-bit word");

// The two channels of the call trace: "DB" (BEGIN and END lines, binding errors) and
// "DB_PARATRACE" (one line per traced parameter).
EsLogClient& DbTrace();
EsLogClient& ParameterTrace();

} // namespace grx::dbaccess
