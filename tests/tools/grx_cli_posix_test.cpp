// grx where a POSIX system shows more: the library's dynamic symbols, and a terminal of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "grx_cli_fixture.h"
#include "platform/process.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

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

} // namespace
} // namespace grx::testing
