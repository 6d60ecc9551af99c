// Started programs: exit codes, ending one that still runs, closing a handle that leaves the
// program running, the program file's name and the command line's arguments, the starter. The
// programs are copies of a probe of the build.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/child_process.h"
#include "platform/process.h"
#include "platform/terminal_input.h"

namespace grx::platform {
namespace {

namespace fs = std::filesystem;

class ChildProcessTest : public ::testing::Test {
protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override {
    std::ofstream(folder_ / "stop") << "";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  // A copy of the test's program in the folder under the name given: it writes its argument
  // count, its arguments and its starter's identifier to "out", then runs until the file "stop"
  // exists and ends with exit code 5.
  fs::path Program(const std::string& name) {
    const fs::path copy = folder_ / (name + Suffix());
    fs::copy_file(Probe(), copy, fs::copy_options::overwrite_existing);
    return copy;
  }
  static std::string Suffix() { return fs::path(ExecutableFile()).extension().string(); }
  static fs::path Probe() { return fs::path(ExecutableFile()).parent_path() / ("child_probe" + Suffix()); }
  std::string Out() {
    for (int i = 0; i < 300; ++i) {
      std::ifstream in(folder_ / "out");
      std::string line;
      if (std::getline(in, line)) return line;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
  }

  fs::path folder_ = fs::temp_directory_path() / ("grx-child-test-" + std::to_string(CurrentProcessId()));
  ScopedEnvironmentValue out_{"CHILD_PROBE_OUT", (folder_ / "out").string()};
  ScopedEnvironmentValue stop_{"CHILD_PROBE_STOP", (folder_ / "stop").string()};
};

TEST_F(ChildProcessTest, ExitCodeWhileRunningAndAfter) {
  ChildProcess child = ChildProcess::Start(Probe().string(), "--exit 3");
  ASSERT_TRUE(child);
  EXPECT_TRUE(child.Wait(5000));
  EXPECT_EQ(child.ExitCode(), 3u);
  EXPECT_FALSE(child.Terminate(1)); // ended already

  ChildProcess running = ChildProcess::Start(Program("run").string(), "");
  ASSERT_TRUE(running);
  EXPECT_FALSE(Out().empty());
  EXPECT_EQ(running.ExitCode(), STILL_ACTIVE);
  std::ofstream(folder_ / "stop") << "";
  EXPECT_TRUE(running.Wait(5000));
  EXPECT_EQ(running.ExitCode(), 5u);
}

TEST_F(ChildProcessTest, TerminatedWithTheGivenCode) {
  ChildProcess child = ChildProcess::Start(Program("run").string(), "");
  ASSERT_TRUE(child);
  ASSERT_FALSE(Out().empty());
  const std::uint32_t id = child.Id();
  EXPECT_TRUE(ProcessIsRunning(id));
  EXPECT_TRUE(child.Terminate(7));
  EXPECT_EQ(child.ExitCode(), 7u);
  EXPECT_FALSE(ProcessIsRunning(id));
  EXPECT_FALSE(child.Terminate(7));
}

TEST_F(ChildProcessTest, ClosingTheHandleLeavesTheProgramRunning) {
  ChildProcess child = ChildProcess::Start(Program("run").string(), "");
  ASSERT_FALSE(Out().empty());
  const std::uint32_t id = child.Id();
  child.Close();
  EXPECT_FALSE(child);
  EXPECT_TRUE(ProcessIsRunning(id));
  ChildProcess moved = ChildProcess::Start(Program("run2").string(), "");
  ChildProcess target = std::move(moved);
  EXPECT_FALSE(moved);
  EXPECT_TRUE(target);
}

TEST_F(ChildProcessTest, ProgramFileArgumentsAndStarter) {
  Program("viewer");
  // Written with backslashes and ".exe", as a Win32 caller names it.
  std::string program = (folder_ / "viewer.exe").string();
  for (char& c : program) c = c == '/' ? '\\' : c;
  ChildProcess child = ChildProcess::Start(program, " \"a b\"  c ");
  ASSERT_TRUE(child);
  EXPECT_EQ(Out(), "2 a b|c " + std::to_string(CurrentProcessId()));

  EXPECT_FALSE(ChildProcess::Start((folder_ / "missing.exe").string(), ""));
  fs::path plain = folder_ / "plain";
  std::ofstream(plain) << "not a program\n"; // not executable
  EXPECT_FALSE(ChildProcess::Start(plain.string(), ""));
  ChildProcess none;
  EXPECT_EQ(none.ExitCode(), STILL_ACTIVE);
  EXPECT_FALSE(none.Terminate(0));
  EXPECT_FALSE(none.Wait(10));
}

// A program run for its output gets each argument as it stands, whatever its quotes, blanks and
// backslashes, and shares the caller's standard input.
TEST_F(ChildProcessTest, ProgramsRunForTheirOutputGetTheirArgumentsAsTheyStand) {
  const std::vector<std::string> arguments = {"--echo",   "a b",       "",    "c\"d",    "e\\",
                                              "f\\\\\"g", "C:\\x y\\", "'q'", "%1 $HOME"};
  CommandResult run;
  {
    const auto input = ScopedStandardInput::FromTerminalTyping("typed line\n");
    ASSERT_TRUE(input.ok());
    run = RunProgram(Probe().string(), arguments, false);
  }
  EXPECT_EQ(run.exitCode, 4);
  std::string out;
  for (char c : run.output) {
    if (c != '\r') out += c;
  }
  EXPECT_EQ(out, "[a b]\n[]\n[c\"d]\n[e\\]\n[f\\\\\"g]\n[C:\\x y\\]\n['q']\n[%1 $HOME]\nstdin=[typed line]\n");
  const auto nothing = ScopedStandardInput::FromNullDevice();
  ASSERT_TRUE(nothing.ok());
  run = RunProgram(Probe().string(), {"--echo"}, true); // standard error with the output
  EXPECT_NE(run.output.find("error"), std::string::npos);
  EXPECT_NE(RunProgram((folder_ / "missing").string(), {}).exitCode, 0);
}

} // namespace
} // namespace grx::platform
