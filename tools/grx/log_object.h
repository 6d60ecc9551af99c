// grx's own log: the log component, created for the exports that write to a host's log, its
// lines and counters as JSON and as text, and the language library that holds the log's strings.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "platform/com_lite.h"
#include "platform/process.h"
#include "w5comp/log_view.h"

namespace grx::cli {

// A new, empty log; GrxError when the log component cannot be created.
platform::ComReference<w5comp::ILogView> CreateLog();
// {"errors": N, "warnings": M, "lines": [{"severity": "error", "text": "..."}, ...]}
nlohmann::ordered_json LogJson(w5comp::ILogView* log);
// "error   text" per line and the counters, for the terminal (in the code page).
std::string LogText(w5comp::ILogView* log);
// The same from what LogJson gives.
std::string LogJsonText(const nlohmann::ordered_json& log);
// A log saved by a log component (SaveAs, or the import host at Close) read into a new log; GrxError
// when the file cannot be read or is not a saved log.
platform::ComReference<w5comp::ILogView> ReadSavedLog(const std::string& file);

// While it lives, the import host of an export that runs the block-type import saves its log to a
// file of grx's own (W5IMCMPX_LOG); Take() reads that log when there is one.
class ImportLogCapture {
public:
  ImportLogCapture();
  ~ImportLogCapture();
  ImportLogCapture(const ImportLogCapture&) = delete;
  ImportLogCapture& operator=(const ImportLogCapture&) = delete;
  // The saved log as LogJson gives it; null when no import host was closed.
  nlohmann::ordered_json Take();

private:
  std::string file_;
  platform::ScopedEnvironmentValue variable_;
};

// The module of that name, or the language library of the user's language when name is empty;
// GrxError when it cannot be loaded. Stays loaded.
void* LoadResourceModule(const std::string& name);

} // namespace grx::cli
