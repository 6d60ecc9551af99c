// The module trace of a scope, written into a file of its own through the trace library's
// W5TRACE_FILE and read back as text.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "platform/process.h"

namespace grx::testing {

class ModuleTraceFile {
public:
  explicit ModuleTraceFile(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("grx-" + name + "-" + std::to_string(grx::platform::CurrentProcessId()) + ".log")) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
    grx::platform::SetEnvironmentValue("W5TRACE_FILE", path_.string());
  }
  ModuleTraceFile(const ModuleTraceFile&) = delete;
  ModuleTraceFile& operator=(const ModuleTraceFile&) = delete;
  ~ModuleTraceFile() {
    grx::platform::RemoveEnvironmentValue("W5TRACE_FILE");
    std::error_code kept; // the trace library may hold the file open still (Windows cannot remove it then)
    std::filesystem::remove(path_, kept);
  }

  std::string Text() const {
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

private:
  std::filesystem::path path_;
};

} // namespace grx::testing
