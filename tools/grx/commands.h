// The grx commands.
#pragma once

#include <ostream>
#include <string>

namespace grx::cli {

struct Options {
  bool json = false;
};

int RunImport(const Options& options, const std::string& description, const std::string& project, bool force,
              std::ostream& out);
int RunExport(const Options& options, const std::string& project, const std::string& outputFile, std::ostream& out);
int RunInfo(const Options& options, const std::string& project, std::ostream& out);
int RunDemo(const Options& options, bool keep, std::ostream& out);

// The demo project's description, built into grx.
const std::string& DemoDescription();

} // namespace grx::cli
