// The frame of every export: the library's module state for the whole call, and the export's
// exception policy. Raises lets exceptions of the library reach the host; Answers catches every
// exception, traces it and answers the neutral result of the export's result type.
#pragma once

#include <exception>
#include <utility>

#include "app/grx_help_app.h"

namespace grx::app {

enum class ExportPolicy { Raises, Answers };

// Traces an exception that the frame of an export caught; a failing trace is swallowed, so the
// frame never throws.
void TraceCaughtByFrame(const char* exportName, const std::exception* caught) noexcept;

// Runs the body; an exception it raises is traced and becomes the neutral result of its type.
// For exports that answer, and for the dialogs, which answer whoever calls them.
template <class Body>
auto CatchAndAnswer(const char* name, Body&& body) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (const std::exception& e) {
    TraceCaughtByFrame(name, &e);
  } catch (...) {
    TraceCaughtByFrame(name, nullptr);
  }
  return decltype(body()){};
}

template <ExportPolicy policy, class Body>
auto RunExport(const char* exportName, Body&& body) -> decltype(body()) {
  platform::ModuleStateGuard frame(LibraryModuleState());
  if constexpr (policy == ExportPolicy::Raises) {
    return body();
  } else {
    return CatchAndAnswer(exportName, std::forward<Body>(body));
  }
}

} // namespace grx::app
