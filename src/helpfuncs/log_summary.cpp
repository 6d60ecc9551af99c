// The host's log: the time stamp of its lines, the summary appended at the end of a run, and the
// question whether to show it.
#include <cstdio>
#include <string>
#include <vector>

#include "app/export_bodies.h"
#include "foundation/printf_fill.h"
#include "platform/com_lite.h"
#include "platform/local_time.h"
#include "platform/string_resources.h"
#include "w5lres/resource_numbers.h"

namespace grx::body {
namespace {

constexpr int kStringBuffer = 256;

// The string of the host's module as LoadStringA gives it into 256 characters; nullopt when it is
// missing.
std::optional<std::string> HostString(void* module, std::uint32_t id) {
  char buffer[kStringBuffer] = {0};
  if (platform::LoadStringA(module, id, buffer, kStringBuffer) <= 0) return std::nullopt;
  return std::string(buffer);
}

void AddLine(w5comp::ILogView& log, const std::string& text) {
  const platform::UniqueBstr line = platform::MakeBstr(platform::Widen(text).c_str());
  log.AddLine(line.get(), 0, 0, 0);
}

} // namespace

CString W5GRX_GetTime(CString& time) {
  const platform::LocalTime now = platform::LocalTimeNow();
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", now.month, now.day, now.year % 100, now.hour,
                now.minute, now.second);
  time = CString(text);
  return time;
}

bool W5GRX_LogSummary(w5comp::ILogView* log, void* module, const char* first, const char* second) {
  if (!log) return false;
  std::int32_t errors = 0, warnings = 0;
  log->GetCounts(&errors, &warnings);
  const std::string firstText = first ? first : "", secondText = second ? second : "";
  const std::pair<std::uint32_t, std::vector<ZEB::FillArgument>> lines[] = {
      {w5lres::kLogStarted, {firstText}},
      {w5lres::kLogEnded, {secondText}},
      {w5lres::kLogCounts, {std::int64_t{errors}, std::int64_t{warnings}}}};
  for (const auto& [id, arguments] : lines) {
    const auto format = HostString(module, id);
    if (!format) return false; // lines already appended stay
    AddLine(*log, ZEB::FillPrintf(*format, arguments));
  }
  return true;
}

bool W5GRX_AskShowProt(grx::platform::WindowHandle window, w5comp::ILogView* log, bool ask, void* module,
                       std::uint32_t titleId, std::uint32_t value) {
  if (!log) return false;
  log->CloseLog();
  std::int32_t errors = 0, warnings = 0;
  log->GetCounts(&errors, &warnings);
  if (errors < 1 && warnings < 1) return false; // nothing to show
  if (ask) {
    const auto question = HostString(module, w5lres::kShowLogQuestion);
    if (!question) return false;
    if (body::DoCfcMsgBox(window, titleId, CString(*question), 0x20, 4) != 6) return true;
  }
  log->ShowLog(window, value);
  return true;
}

} // namespace grx::body
