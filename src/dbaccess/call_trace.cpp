#include "dbaccess/call_trace.h"

#include "dbaccess/es_log_client.h"

namespace grx::dbaccess {

void TraceCallBegin(const char* function) { DbTrace().DeliverFormatted("BEGIN %s", function); }

void TraceCallEnd(const char* function, GlResult result) {
  const auto errorId = static_cast<unsigned>(result & 0xFFFFFF);
  if (errorId == 0) {
    DbTrace().DeliverFormatted("END %s", function);
    return;
  }
  switch ((result >> 16) & 0xFF) {
  case 0: DbTrace().DeliverFormatted("END %s #ERROR_ID=0x%.5X", function, errorId); break;
  case 1: DbTrace().DeliverFormatted("END %s ##ERROR_ID=0x%.5X", function, errorId); break;
  default: DbTrace().DeliverFormatted("END %s #####ERROR_ID=0x%.5X", function, errorId); break;
  }
}

void TraceCallEndPlain(const char* function) { DbTrace().DeliverFormatted("END %s", function); }

void TraceCallEndBool(const char* function, GlBool result) {
  DbTrace().DeliverFormatted("END %s #Result=(BOOL)%x", function, static_cast<unsigned>(result));
}

void TraceCallEndPointer(const char* function, const void* result) {
  DbTrace().DeliverFormatted("END %s ==> 0x%.8lX", function,
                             static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(result)));
}

} // namespace grx::dbaccess
