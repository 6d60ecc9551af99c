// The object trace and the module trace against the trace library stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "foundation/module_trace.h"
#include "foundation/object_trace.h"
#include "platform/process.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class TraceTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    // The module trace reads "silent-trace" once, when it binds the trace library.
    fs::create_directories(Folder());
    std::ofstream(Folder() / "settings.ini") << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\Settings]\n"
                                             << "silent-trace=dword:1\n";
    grx::platform::SetEnvironmentValue("GRX_SETTINGS_FILE", (Folder() / "settings.ini").string());
  }
  static void TearDownTestSuite() { fs::remove_all(Folder()); }
  static fs::path Folder() {
    return fs::temp_directory_path() / ("grx-trace-test-" + std::to_string(grx::platform::CurrentProcessId()));
  }

  void SetUp() override {
    log_ = Folder() / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
    silent_ = Folder() / (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".silent");
    grx::platform::SetEnvironmentValue("W5TRACE_FILE", log_.string());
    grx::platform::SetEnvironmentValue("W5TRACE_SILENT_FILE", silent_.string());
    grx::platform::SetEnvironmentValue("W5TRACE_LEVEL", "4");
    grx::platform::RemoveEnvironmentValue("W5TRACE_INIT");
  }
  void TearDown() override { ZEB::CObject::ResetTrace(); }

  fs::path log_, silent_;
};

TEST_F(TraceTest, ObjectTraceWithoutSinkDoesNothing) {
  ZEB::CObject::Trace(1, "Source", "text %d", 1);
  ZEB::CObject::TraceException(ZEB::CException("x", 1, "F", 1), 3);
  EXPECT_FALSE(fs::exists(log_));
}

TEST_F(TraceTest, SetTraceRejectsANullSink) {
  ZEB::CTrace first(22, 7, "first");
  ZEB::CObject::SetTrace(&first);
  EXPECT_THROW(ZEB::CObject::SetTrace(nullptr), ZEB::CInvalidArgException);
  EXPECT_EQ(ZEB::CObject::GetTrace(), &first);
}

TEST_F(TraceTest, CTraceWritesMessagesAndExceptions) {
  ZEB::CTrace trace(22, 7, "objects");
  ZEB::CObject::SetTrace(&trace);
  ZEB::CObject::Trace(2, "CIecObjManager::GetInstance", "manager %d created", 3);
  ZEB::CObject::Trace(6, "CIecObject::Dump_i", "not released");
  ZEB::CObject::TraceException(
      ZEB::CComException(static_cast<grx::platform::HRESULT>(0x80004005), "IThing::Do", "Thing.cpp", 5), 3);
  ZEB::CObject::TraceException(ZEB::CIllegalStateException("bad", "State.cpp", 6), 3);
  const std::string text = ReadAll(log_);
  EXPECT_THAT(text, HasSubstr("comp 22/7 level 2 CIecObjManager::GetInstance: manager 3 created\n"));
  EXPECT_THAT(text, Not(HasSubstr("not released")));
  EXPECT_THAT(text, HasSubstr("level 3 Thing.cpp: Unspecified error (0x80004005); Method Call: IThing::Do\n"));
  EXPECT_THAT(text, HasSubstr("level 3 State.cpp: Illegal state exception: bad\n"));
}

TEST_F(TraceTest, CTraceNullSourceInitialisesButWritesNothing) {
  grx::platform::SetEnvironmentValue("W5TRACE_INIT", "fail");
  ZEB::CTrace failing(22, 7, "x");
  EXPECT_THROW(failing.Trace(1, nullptr, "x"), ZEB::CUnexpectedException);
  grx::platform::RemoveEnvironmentValue("W5TRACE_INIT");
  EXPECT_NO_THROW(failing.Trace(1, nullptr, "nothing")); // tries again, and now opens
  EXPECT_FALSE(fs::exists(log_));
}

TEST_F(TraceTest, CTraceSerialisesConcurrentMessages) {
  ZEB::CTrace trace(22, 7, "threads");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&trace, t] {
      for (int i = 0; i < 50; ++i) trace.Trace(1, "Worker", "thread %d message %d", t, i);
    });
  }
  for (auto& thread : threads) thread.join();
  std::ifstream in(log_);
  std::string line;
  int lines = 0;
  while (std::getline(in, line)) {
    EXPECT_THAT(line, HasSubstr("Worker: thread "));
    ++lines;
  }
  EXPECT_EQ(lines, 200);
}

TEST_F(TraceTest, TraceWriteHeaderAndText) {
  TraceContext context(".\\HelpFunc.cpp", "W5GRX_GetSubPlansByPlanID");
  context.level = 4;
  context.line = 4087;
  TraceWrite(context, "OpenData error: iec_CfcBlocksGet failed. result = %x.", 0x20101);
  // std::regex: the simple regular expressions of some platforms have no brackets.
  const std::string text = context.text;
  EXPECT_TRUE(std::regex_match(text, std::regex(R"(W5GRX_GetSubPlansByPlanID \[\.\\HelpFunc\.cpp \(4087\), module: )"
                                                R"([a-z_]+_tests(\.exe)?, thread: 0x[0-9A-F]+\])")))
      << text;
  EXPECT_THAT(ReadAll(log_),
              HasSubstr("comp 22/7 level 4 W5GRX_GetSubPlansByPlanID [.\\HelpFunc.cpp (4087), module: "));
  EXPECT_THAT(ReadAll(log_), HasSubstr("]: OpenData error: iec_CfcBlocksGet failed. result = 20101.\n"));
  EXPECT_TRUE(GetTraceDll().bound);
  EXPECT_TRUE(GetTraceDll().silent);
  EXPECT_EQ(GetTraceDll().component, 22u);
  EXPECT_EQ(GetTraceDll().subcomponent, 7u);
}

TEST_F(TraceTest, TraceWriteCutsTheHeaderAt511) {
  const std::string longName(600, 'f');
  TraceContext context("File.cpp", longName.c_str());
  context.level = 1;
  context.line = 1;
  TraceWrite(context, "x");
  EXPECT_EQ(std::string(context.text).size(), 511u);
}

TEST_F(TraceTest, UnreleasedLevelsBecomeSilentRecords) {
  const std::string function60(60, 'g');
  TraceContext context(".\\InfoFuncs.cpp", function60.c_str());
  context.level = 6; // above the released threshold
  context.line = 321;
  TraceWrite(context, "value %d not expanded", 5);
  EXPECT_FALSE(fs::exists(log_));
  EXPECT_EQ(ReadAll(silent_), "level 6 line 321 file=[.\\InfoFuncs.cpp] function=[" + std::string(50, 'g') +
                                  "] text=[value %d not expanded]\n");
  EXPECT_EQ(offsetof(TraceSilentRecord, file), 8u);
  EXPECT_EQ(offsetof(TraceSilentRecord, function), 108u);
  EXPECT_EQ(offsetof(TraceSilentRecord, text), 158u);
}

} // namespace
} // namespace grx::testing
