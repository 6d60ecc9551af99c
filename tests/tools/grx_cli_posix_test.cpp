// grx where a POSIX system shows more: the library's dynamic symbols (and the module-definition
// file of the Windows build made from the same list), and a terminal of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "grx_cli_fixture.h"
#include "platform/process.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

// The library's dynamic symbols are the export table's exports and the classes of the object
// model, nothing of its internals.
TEST_F(GrxCliTest, TheLibraryExportsTheTablesExportsAndTheObjectModel) {
  const auto listed = nlohmann::json::parse(Grx("--json exports").out);
  ASSERT_GT(listed.size(), 50u);
  const auto symbols = platform::RunCommand("nm -D --defined-only -C " + (BinDir() / "w5lhlpax.so").string());
  ASSERT_THAT(symbols.output, HasSubstr("W5GRX_IsRootPlan(unsigned long, unsigned short)"));
  for (const auto& entry : listed) {
    EXPECT_THAT(symbols.output, HasSubstr(" " + entry["name"].get<std::string>() + "(")) << entry["name"];
  }
  EXPECT_THAT(symbols.output, Not(HasSubstr("grx::body::")));
  EXPECT_THAT(symbols.output, Not(HasSubstr("grx::app::")));
  EXPECT_THAT(symbols.output, HasSubstr("OpenData::CIecObjManager::GetInstance()"));
}

// The module-definition file a Windows build makes from the export list names exactly the
// symbols the version script leaves this library: written here from the same objects.
TEST_F(GrxCliTest, TheModuleDefinitionFileNamesWhatTheVersionScriptExports) {
  const fs::path build = BinDir().parent_path();
  const fs::path definitions = folder_ / "w5lhlpax.def";
  const auto made = platform::RunCommand("cmake -DNM=nm -DEXPORT_LIST=" + (build / "src" / "w5lhlpax.lds").string() +
                                         " -DOBJECTS=" + (build / "src" / "w5lhlpax_objects.txt").string() +
                                         " -DLIBRARY=w5lhlpax.dll -DOUTPUT=" + definitions.string() + " -P " +
                                         (fs::path(GRX_SOURCE_DIR) / "cmake" / "ExportDefinitionFile.cmake").string());
  ASSERT_EQ(made.exitCode, 0) << made.output;
  std::ifstream in(definitions);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "; The exports of w5lhlpax.dll, made from its export list by the build.");
  std::getline(in, line);
  EXPECT_EQ(line, "LIBRARY w5lhlpax.dll");
  std::getline(in, line);
  EXPECT_EQ(line, "EXPORTS");
  std::set<std::string> listed;
  std::size_t data = 0;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name, kind;
    words >> name >> kind;
    listed.insert(name);
    data += kind == "DATA" ? 1 : 0;
  }
  const auto symbols = platform::RunCommand("nm -D --defined-only " + (BinDir() / "w5lhlpax.so").string());
  std::set<std::string> exported;
  std::istringstream lines(symbols.output);
  while (std::getline(lines, line)) {
    const std::string name = line.substr(line.rfind(' ') + 1);
    exported.insert(name.substr(0, name.find('@')));
  }
  EXPECT_GT(listed.size(), 1000u);
  EXPECT_EQ(listed, exported);
  EXPECT_GT(data, 100u); // vtables and type information
  EXPECT_TRUE(listed.count("grx_string_table"));
  // The C functions of the exports, undecorated.
  EXPECT_TRUE(listed.count("grx_RootPlansFromCPU"));
  EXPECT_TRUE(listed.count("grx_last_error"));
}

TEST_F(GrxCliTest, OnATerminalTheProgressBarIsRedrawnAndATypedLineCancels) {
  // script gives grx a terminal.
  const auto run = platform::RunCommand("(sleep 0.5; printf '\\r') | script -qc \"" + (BinDir() / "grx").string() +
                                        " progress --steps 200 --delay 20 --title \xC3\x9C"
                                        "bersetzen --text 'Pl\xC3\xA4ne'\" /dev/null");
  EXPECT_THAT(run.output, HasSubstr("\xC3\x9C"
                                    "bersetzen\r\n  Pl\xC3\xA4ne\r\n[---")); // UTF-8 once
  EXPECT_THAT(run.output, HasSubstr("   Enter: Cancel\r["));
  EXPECT_THAT(run.output, ::testing::ContainsRegex("cancelled after [0-9]+ of 200 steps"));
}

TEST_F(GrxCliTest, LongWorkOnATerminalSaysItIsWorkingAndClearsTheLine) {
  const std::string db = (folder_ / "big.db").string();
  const std::string grx = (BinDir() / "grx").string();
  // A project big enough for about three seconds of work in this build, measured on a small one
  // (a sanitizer build takes many times as long for the same work).
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(Grx("generate " + db + " --charts 10 --depth 1 --blocks 25 --globals 1000").exitCode, 0);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const std::string charts = std::to_string(std::clamp(static_cast<int>(30 / std::max(seconds, 0.01)), 20, 400));
  // No input for script to hand on, and a bound on the run.
  const auto run = platform::RunCommand("timeout 600 script -qc \"" + grx + " generate " + db + " --force --charts " +
                                        charts + " --depth 1 --blocks 25 --globals 1000\" /dev/null </dev/null");
  EXPECT_THAT(run.output, HasSubstr("\rgrx generate: working ... 1 s")) << charts << " charts";
  EXPECT_THAT(run.output, HasSubstr("\r\x1b[KGenerated " + db));
  // Not when standard error is no terminal.
  EXPECT_THAT(Grx("generate " + db + " --force --charts " + charts + " --depth 1 --blocks 25 --globals 1000").out,
              Not(HasSubstr("working ...")));
}

} // namespace
} // namespace grx::testing
