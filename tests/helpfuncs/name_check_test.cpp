// Name checks: every rule and position, with the keyword component present, absent, failing and
// answering another status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "foundation/object_trace.h"
#include "grx/w5lhlpax.h"
#include "platform/process.h"

namespace grx::testing {
namespace {

struct Outcome {
  Syntax_Err_TypeEnum result;
  std::int32_t position;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << "{" << o.result << ", " << o.position << "}";
}

template <class CheckFn>
Outcome Check(CheckFn check, const std::string& name, std::int32_t initial = 99) {
  std::int32_t position = initial;
  const Syntax_Err_TypeEnum result = check(name, position);
  return {result, position};
}

class NameCheckTest : public ::testing::Test {
protected:
  void SetUp() override {
    grx::platform::RemoveEnvironmentValue("W5KW_MODE");
    grx::platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
  }
  void TearDown() override {
    grx::platform::RemoveEnvironmentValue("W5KW_MODE");
    grx::platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
    std::filesystem::remove(settings_);
  }
  std::filesystem::path settings_ = std::filesystem::temp_directory_path() /
                                    ("grx-names-" + std::to_string(grx::platform::CurrentProcessId()) + ".ini");
};

TEST_F(NameCheckTest, RootChartNames) {
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, std::string(22, 'a')), (Outcome{SYNTAX_ERR_NONE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, std::string(23, 'a')), (Outcome{SYNTAX_ERR_TOO_LONG, 23}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "Motor_1"), (Outcome{SYNTAX_ERR_NONE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "Motor_A"), (Outcome{SYNTAX_ERR_UNDERSCORE_LETTER, 6}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "motor_"), (Outcome{SYNTAX_ERR_TRAILING_UNDERSCORE, 5}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "1motor"), (Outcome{SYNTAX_ERR_FIRST_NOT_LETTER, -1}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "mo__1"), (Outcome{SYNTAX_ERR_DOUBLE_UNDERSCORE, 3}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "Mo tor"), (Outcome{SYNTAX_ERR_INVALID_CHAR, 2}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "").result, SYNTAX_ERR_FIRST_NOT_LETTER);
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "Timer"), (Outcome{SYNTAX_ERR_NONE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "While"), (Outcome{SYNTAX_ERR_KEYWORD, -1}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "Mot-or").result, SYNTAX_ERR_INVALID_CHAR);
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "M\xF6tor"), (Outcome{SYNTAX_ERR_INVALID_CHAR, 1})); // Windows-1252
  // Twelve umlauts are twelve characters: the character rule, not the length, fails first.
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, std::string(12, '\xE4')), (Outcome{SYNTAX_ERR_INVALID_CHAR, 0}));
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, std::string(23, '\xC4')), (Outcome{SYNTAX_ERR_TOO_LONG, 23}));
}

TEST_F(NameCheckTest, SubChartBlockAndVariableNames) {
  EXPECT_EQ(Check(W5GRX_CheckSubPlanName, "Sub_1"), (Outcome{SYNTAX_ERR_UNDERSCORE, 3}));
  EXPECT_EQ(Check(W5GRX_CheckSubPlanName, "").result, SYNTAX_ERR_FIRST_NOT_LETTER);
  EXPECT_EQ(Check(W5GRX_CheckSubPlanName, "Sub1"), (Outcome{SYNTAX_ERR_NONE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckBlockName, "_in"), (Outcome{SYNTAX_ERR_LEADING_UNDERSCORE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckBlockName, "1in_"), (Outcome{SYNTAX_ERR_NONE, -1}));
  EXPECT_EQ(Check(W5GRX_CheckBlockName, ""), (Outcome{SYNTAX_ERR_NONE, -1}));
  EXPECT_EQ(Check(W5GRX_CheckBlockName, "a__b"), (Outcome{SYNTAX_ERR_DOUBLE_UNDERSCORE, 2}));
  EXPECT_EQ(Check(W5GRX_CheckVarName, "_in"), (Outcome{SYNTAX_ERR_NONE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckVarName, "9in"), (Outcome{SYNTAX_ERR_FIRST_DIGIT, 0}));
  EXPECT_EQ(Check(W5GRX_CheckVarName, "ton"), (Outcome{SYNTAX_ERR_KEYWORD, -1})); // a standard FB name
  EXPECT_EQ(Check(W5GRX_CheckVarName, "SpeedSet"), (Outcome{SYNTAX_ERR_NONE, 0}));
  EXPECT_EQ(Check(W5GRX_CheckVarName, ""), (Outcome{SYNTAX_ERR_NONE, 0})); // reaches the keyword rule
}

TEST_F(NameCheckTest, KeywordComponentAbsentFailingOrAnsweringAnotherStatus) {
  std::ofstream(settings_)
      << "[HKEY_CLASSES_ROOT\\CLSID\\{6A3D2F10-4B7C-4E21-9F3A-1C5D7E9B2A40}\\InprocServer32]\n@=\n";
  grx::platform::SetEnvironmentValue("GRX_SETTINGS_FILE", settings_.string());
  EXPECT_EQ(Check(W5GRX_CheckVarName, "while"), (Outcome{SYNTAX_ERR_NONE, 1})); // not registered: accepted
  std::ofstream(settings_) << "[HKEY_CLASSES_ROOT\\CLSID\\{6A3D2F10-4B7C-4E21-9F3A-1C5D7E9B2A40}\\InprocServer32]\n"
                           << "@=no_such_component\n";
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "While"), (Outcome{SYNTAX_ERR_NONE, 1})); // module missing
  grx::platform::RemoveEnvironmentValue("GRX_SETTINGS_FILE");
  grx::platform::SetEnvironmentValue("W5KW_MODE", "fail");
  EXPECT_EQ(Check(W5GRX_CheckVarName, "while"), (Outcome{SYNTAX_ERR_NONE, 1}));
  grx::platform::SetEnvironmentValue("W5KW_MODE", "status");
  EXPECT_EQ(Check(W5GRX_CheckVarName, "while"), (Outcome{SYNTAX_ERR_NONE, 0}));
}

// A sink that fails on every line.
class FailingSink : public ZEB::ITrace {
public:
  void TraceException(const ZEB::CException&, std::uint32_t) override { throw std::runtime_error("sink down"); }
  void VTrace(std::uint32_t, const char*, const char*, va_list) override { throw std::runtime_error("sink down"); }
  void Trace(std::uint32_t, const char*, const char*, ...) override { throw std::runtime_error("sink down"); }
};

TEST_F(NameCheckTest, AFailingTraceSinkChangesNoAnswer) {
  FailingSink sink;
  ZEB::CObject::SetTrace(&sink);
  // The reserved word is traced as an exception, the broken component as a line: neither trace
  // may turn the answer into another one or reach the host.
  EXPECT_EQ(Check(W5GRX_CheckRootPlanName, "While"), (Outcome{SYNTAX_ERR_KEYWORD, -1}));
  EXPECT_EQ(Check(W5GRX_CheckVarName, "ton"), (Outcome{SYNTAX_ERR_KEYWORD, -1}));
  grx::platform::SetEnvironmentValue("W5KW_MODE", "fail");
  EXPECT_EQ(Check(W5GRX_CheckVarName, "while"), (Outcome{SYNTAX_ERR_NONE, 1}));
  ZEB::CObject::ResetTrace();
}

} // namespace
} // namespace grx::testing
