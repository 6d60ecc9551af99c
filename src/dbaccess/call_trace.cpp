#include "dbaccess/call_trace.h"

#include <cstdio>

#include "dbaccess/es_log_client.h"

namespace grx::dbaccess {

void TraceCallBegin(const char* function) {
  DbTrace().DeliverFormatted("BEGIN %s", function);
}

std::string FormatCallEnd(const char* function, GlResult result) {
  const auto errorId = static_cast<unsigned>(result & 0xFFFFFF);
  char line[1024];
  if (errorId == 0) {
    std::snprintf(line, sizeof line, "END %s", function);
  } else {
    const unsigned severity = static_cast<unsigned>((result >> 16) & 0xFF);
    const char* marks = severity == 0 ? "#" : severity == 1 ? "##" : "#####";
    std::snprintf(line, sizeof line, "END %s %sERROR_ID=0x%.5X", function, marks, errorId);
  }
  return line;
}

void TraceCallEnd(const char* function, GlResult result) {
  DbTrace().Deliver(FormatCallEnd(function, result));
}

void TraceCallEndPlain(const char* function) {
  DbTrace().DeliverFormatted("END %s", function);
}

void TraceCallEndBool(const char* function, GlBool result) {
  DbTrace().DeliverFormatted("END %s #Result=(BOOL)%x", function, static_cast<unsigned>(result));
}

void TraceCallEndPointer(const char* function, const void* result) {
  DbTrace().DeliverFormatted("END %s ==> 0x%.8lX", function,
                             static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(result)));
}

} // namespace grx::dbaccess
