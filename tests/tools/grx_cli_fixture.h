// grx run as a person runs it: a folder of its own for each test, grx started with its arguments
// written as a shell reads them and without the settings file of the caller's environment.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "platform/process.h"
#include "program_run.h"

namespace grx::testing {

using GrxRun = ProgramRun;

// The bytes of a file ("" when it cannot be read).
inline std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Log lines carry the time of the run.
inline std::string WithoutTimes(const std::string& text) {
  static const std::regex time(R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d)");
  return std::regex_replace(text, time, "<time>");
}

class GrxCliTest : public ::testing::Test {
protected:
  void SetUp() override { std::filesystem::create_directories(folder_); }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  static std::filesystem::path BinDir() { return ProgramFolder(); }

  // Runs a program of the build (FXBViewer, say) with the arguments and environment values.
  static GrxRun Run(const std::string& program, const std::string& arguments, const std::string& environment = {}) {
    return RunBuiltProgram((BinDir() / program).string(), arguments, environment, {"GRX_SETTINGS_FILE"});
  }

  // Runs grx with the arguments; standard output and standard error together.
  static GrxRun Grx(const std::string& arguments, const std::string& environment = {}) {
    return Run("grx", arguments, environment);
  }

  // A file of the test's folder with exactly these bytes.
  std::string Write(const std::string& name, const std::string& text) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  // A project with one finding of each kind grx check reports (an old data version, no stamp, a
  // root chart name with two underscores, a connection of types that do not fit, an unused
  // global), imported into check.db of the test's folder; its path.
  std::string CheckProject() {
    const std::string description = Write("check.json", R"({"format": "grx-project/1",
    "project": {"dataVersion": "V6.0"}, "controllers": [{"name": "R",
    "blockTypes": [{"name": "T", "parameters": [{"name": "I", "type": "BOOL"},
                                                {"name": "O", "direction": "out", "type": "REAL"}]}],
    "globals": [{"name": "gUnused", "type": "INT"}, {"name": "gUsed", "type": "BOOL"}],
    "charts": [{"name": "A__B", "blocks": [{"name": "B1", "type": "T"}, {"name": "B2", "type": "T"},
                                           {"name": "B3", "type": "T"}]}],
    "connections": [{"from": "A__B/B1.O", "to": "A__B/B2.I"}, {"from": "@gUsed", "to": "A__B/B3.I"}]}]})");
    const std::string db = (folder_ / "check.db").string();
    const GrxRun run = Grx("import " + description + " " + db);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    return db;
  }

  static std::string DemoJsonPath() {
    return (std::filesystem::path(GRX_SOURCE_DIR) / "examples" / "demo.json").string();
  }

  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("grx-cli-test-" + std::to_string(grx::platform::CurrentProcessId()));
};

} // namespace grx::testing
