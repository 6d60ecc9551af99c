// grx's own log: the log component, created for the exports that write to a host's log, its
// lines and counters as JSON and as text, and the language library that holds the log's strings.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "platform/com_lite.h"
#include "w5comp/log_view.h"

namespace grx::cli {

// A new, empty log; GrxError when the log component cannot be created.
platform::ComReference<w5comp::ILogView> CreateLog();
// {"errors": N, "warnings": M, "lines": [{"severity": "error", "text": "..."}, ...]}
nlohmann::ordered_json LogJson(w5comp::ILogView* log);
// "error   text" per line and the counters, for the terminal (in the code page).
std::string LogText(w5comp::ILogView* log);
// The module of that name, or the language library of the user's language when name is empty;
// GrxError when it cannot be loaded. Stays loaded.
void* LoadResourceModule(const std::string& name);

} // namespace grx::cli
