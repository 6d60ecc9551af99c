// The frame of every export: the library's module state for the whole call, and the export's
// exception policy. Raises lets exceptions of the library reach the host; Answers catches every
// exception, traces it and answers the neutral result of the export's result type.
#pragma once

#include <exception>

#include "app/grx_help_app.h"

namespace grx::app {

enum class ExportPolicy { Raises, Answers };

// Traces an exception that the frame of an export caught; a failing trace is swallowed, so the
// frame never throws.
void TraceCaughtByFrame(const char* exportName, const std::exception* caught) noexcept;

template <ExportPolicy policy, class Body>
auto RunExport(const char* exportName, Body&& body) -> decltype(body()) {
  platform::ModuleStateGuard frame(LibraryModuleState());
  if constexpr (policy == ExportPolicy::Raises) {
    return body();
  } else {
    try {
      return body();
    } catch (const std::exception& e) {
      TraceCaughtByFrame(exportName, &e);
    } catch (...) {
      TraceCaughtByFrame(exportName, nullptr);
    }
    return decltype(body()){};
  }
}

} // namespace grx::app
