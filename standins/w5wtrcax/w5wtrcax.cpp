// The trace library stand-in w5wtrcax. Messages go, as readable lines, to the file named by
// W5TRACE_FILE (or the "File" value under Software\Halvorn\TRACE); levels up to W5TRACE_LEVEL
// (or "Level", default 4) are released. Silent records go to W5TRACE_SILENT_FILE (or
// "SilentFile"). W5TRACE_INIT=fail makes every initialisation fail.
//
// A line: "2026-12-06 07:30:00.123 thread 0x1A2B comp 22/7 level 4 SOURCE: TEXT".
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "w5trace/trace_library.h"
#include "platform/export_macros.h"
#include "platform/local_time.h"
#include "platform/settings_store.h"
#include "platform/thread_id.h"

#define W5TRACE_API GRX_MODULE_EXPORT

namespace {

std::mutex fileMutex;
std::uint32_t nextHandle = 1;

std::string Setting(const char* variable, const char* valueName) {
  if (const char* value = std::getenv(variable); value && *value) return value;
  return grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, "Software\\Halvorn\\TRACE", valueName)
      .value_or("");
}

std::uint32_t Threshold() {
  const std::string level = Setting("W5TRACE_LEVEL", "Level");
  return level.empty() ? 4 : static_cast<std::uint32_t>(std::strtoul(level.c_str(), nullptr, 10));
}

std::string Now() {
  const grx::platform::LocalTime t = grx::platform::LocalTimeNow();
  char full[80];
  std::snprintf(full, sizeof full, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour, t.minute,
                t.second, t.millisecond);
  return full;
}

void Append(const std::string& file, const std::string& line) {
  if (file.empty()) return;
  std::lock_guard lock(fileMutex);
  if (FILE* f = std::fopen(file.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

bool Released(std::uint32_t level) {
  return !Setting("W5TRACE_FILE", "File").empty() && level <= Threshold();
}

void Write(std::uint32_t component, std::uint32_t subcomponent, std::uint32_t level, const char* source,
           const char* text) {
  if (!Released(level)) return;
  char head[128];
  std::snprintf(head, sizeof head, " thread 0x%X comp %u/%u level %u ", grx::platform::CurrentThreadId(), component,
                subcomponent, level);
  Append(Setting("W5TRACE_FILE", "File"), Now() + head + (source ? source : "") + ": " + (text ? text : ""));
}

template <std::size_t N>
std::string Field(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

} // namespace

W5TRACE_API std::int32_t traceapi_Init2(const char*, std::int32_t, std::uint32_t* handle, const char*) {
  if (!handle || Setting("W5TRACE_INIT", "Init") == "fail") return 0;
  std::lock_guard lock(fileMutex);
  *handle = nextHandle++;
  return 1;
}

W5TRACE_API std::int32_t traceapi_DeInit2(std::uint32_t* handle) {
  if (!handle) return 0;
  *handle = 0xFFFFFFFF;
  return 1;
}

W5TRACE_API std::int32_t IsTraceReleased2(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t level) {
  return Released(level) ? 1 : 0;
}

W5TRACE_API void TraceMsg2(std::uint32_t, std::uint32_t component, std::uint32_t subcomponent, std::uint32_t level,
                           const char* source, const char* text) {
  Write(component, subcomponent, level, source, text);
}

W5TRACE_API void VTraceMsg2(std::uint32_t, std::uint32_t component, std::uint32_t subcomponent, std::uint32_t level,
                            const char* header, const char* format, va_list args) {
  char text[2048];
  std::vsnprintf(text, sizeof text, format ? format : "", args);
  Write(component, subcomponent, level, header, text);
}

// One line per record: "level L line N file=[...] function=[...] text=[...]", each field read
// within its width.
W5TRACE_API void TraceMsgSilent(const TraceSilentRecord* record) {
  if (!record) return;
  char head[64];
  std::snprintf(head, sizeof head, "level %d line %d ", record->level, record->line);
  Append(Setting("W5TRACE_SILENT_FILE", "SilentFile"), std::string(head) + "file=[" + Field(record->file) +
                                                           "] function=[" + Field(record->function) + "] text=[" +
                                                           Field(record->text) + "]");
}
