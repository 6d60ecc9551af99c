// The part of the export frame that is not a template: tracing what the frame caught.
#include "app/export_frame.h"

#include "foundation/object_trace.h"

namespace grx::app {

void TraceCaughtByFrame(const char* exportName, const std::exception* caught) noexcept {
  try {
    ZEB::CObject::Trace(4, exportName, "exception caught by the export: %s", caught ? caught->what() : "unknown");
  } catch (...) {
    // The host must not see an exception from here; a trace that fails is lost.
  }
}

} // namespace grx::app
