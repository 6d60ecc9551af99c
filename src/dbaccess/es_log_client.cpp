#include "dbaccess/es_log_client.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "dbaccess/trace_scramble.h"
#include "platform/dynamic_library.h"

namespace grx::dbaccess {
namespace {
std::mutex loadMutex;
} // namespace

EsLogClient::EsLogClient(const char* clientName, const char* version, TraceTransform transform)
    : transform_(transform), version_(version ? version : "") {
  std::snprintf(clientName_, sizeof clientName_, "%s", clientName);
}

EsLogClient::~EsLogClient() {
  if (on() && entry_.load() && version_[0] != '\0') {
    DeliverFormatted("[END EsLogClient %s, Version %s]", clientName_, version_);
  }
}

bool EsLogClient::EnsureLoaded() {
  if (entry_.load(std::memory_order_acquire)) return true;
  std::lock_guard lock(loadMutex);
  if (entry_.load()) return true;
  platform::Module module = platform::Module::Load("ES_LOG.DLL");
  auto* entry = module ? reinterpret_cast<EsLogEventFn>(module.Find("eslog_logEventV2")) : nullptr;
  if (!entry) {
    enabled_.store(false);
    return false;
  }
  module_.store(module.Detach());
  entry_.store(entry, std::memory_order_release);
  if (version_[0] != '\0') {
    DeliverFormatted("[BEGIN EsLogClient %s, Version %s]", clientName_, version_);
  }
  return on();
}

void EsLogClient::Send(std::string_view line) {
  const std::string text = transform_ ? transform_(line) : std::string(line);
  entry_.load()(clientName_, text.c_str(), this);
  if ((state_.load() & 0xFF) != 2) {
    enabled_.store(false);
  }
}

void EsLogClient::Deliver(std::string_view line) {
  if (!on() || !EnsureLoaded()) return;
  Send(line);
}

void EsLogClient::DeliverFormatted(const char* format, ...) {
  if (!on()) return;
  char buffer[1024];
  if (!format) {
    std::snprintf(buffer, sizeof buffer, "???");
  } else {
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
  }
  if (!entry_.load()) {
    Deliver(buffer);
  } else {
    Send(buffer);
  }
}

// Built when the library is loaded and destroyed when it is unloaded.
EsLogClient dbTrace("DB", "V6.2", &ScrambleTraceLine);
EsLogClient parameterTrace("DB_PARATRACE", "", &ScrambleTraceLine);

EsLogClient& DbTrace() {
  return dbTrace;
}
EsLogClient& ParameterTrace() {
  return parameterTrace;
}

} // namespace grx::dbaccess
