// The fault sweep: every writing command of grx's command table, run on the demo project with a
// failure injected into each chart-database call it makes, in turn, must either succeed with the
// same outcome as a run without faults, or fail with one message, exit 3 and leave the project
// file byte for byte as it was. Also on a project locked by another connection, and (where the
// test can take a user's rights away) on a read-only file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "command_table.h"
#include "grx_cli_fixture.h"

namespace grx::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Calls per chart-database function, as the stand-in counts them (Q3JDBMOX_CALL_COUNTS).
std::map<std::string, std::uint64_t> CallCounts(const fs::path& file) {
  std::map<std::string, std::uint64_t> counts;
  std::ifstream in(file);
  std::string function;
  std::uint64_t count = 0;
  while (in >> function >> count) counts[function] = std::max(counts[function], count);
  return counts;
}

class GrxFaultSweepTest : public GrxCliTest {
protected:
  void SetUp() override {
    GrxCliTest::SetUp();
    master_ = folder_ / "master.db";
    const GrxRun imported = Grx("import " + DemoJsonPath() + " " + master_.string());
    ASSERT_EQ(imported.exitCode, 0) << imported.out;
  }

  // A fresh copy of the demo project.
  fs::path Copy(const std::string& name) const {
    const fs::path copy = folder_ / name;
    fs::copy_file(master_, copy, fs::copy_options::overwrite_existing);
    return copy;
  }

  static std::string Export(const fs::path& project) {
    const GrxRun exported = Grx("export " + project.string());
    EXPECT_EQ(exported.exitCode, 0) << exported.out;
    return exported.out;
  }

  static std::string Command(const cli::CommandSpec& spec, const fs::path& project) {
    // Questions (whether to keep an import with errors) are answered no: a run with a fault must not
    // keep half of its work.
    return "--project " + project.string() + " --answer no,no,no " + spec.name + " " + spec.example;
  }

  fs::path master_;
};

// The writing commands of the table, each with the example it is run with.
std::vector<const cli::CommandSpec*> WritingCommands() {
  std::vector<const cli::CommandSpec*> writing;
  for (const cli::CommandSpec& spec : cli::Commands()) {
    if (spec.access == cli::Access::Writes) writing.push_back(&spec);
  }
  return writing;
}

TEST_F(GrxFaultSweepTest, EveryWritingCommandSucceedsOrChangesNothing) {
  struct Case {
    const cli::CommandSpec* spec;
    std::string fault; // function:errorId:firstCall:count
  };
  std::vector<Case> cases;
  std::map<const cli::CommandSpec*, std::string> reference;
  for (const cli::CommandSpec* spec : WritingCommands()) {
    ASSERT_TRUE(*spec->example) << spec->name << " has no example to sweep";
    const fs::path project = Copy(std::string("reference-") + spec->name + ".db");
    const fs::path counts = folder_ / (std::string("counts-") + spec->name + ".txt");
    const GrxRun run = Grx(Command(*spec, project), "Q3JDBMOX_CALL_COUNTS=" + counts.string());
    ASSERT_EQ(run.exitCode, 0) << spec->name << ": " << run.out;
    reference[spec] = Export(project);
    const auto calls = CallCounts(counts);
    ASSERT_FALSE(calls.empty()) << spec->name;
    for (const auto& [function, count] : calls) {
      for (std::uint64_t k = 1; k <= std::min<std::uint64_t>(count, 20); ++k) {
        cases.push_back({spec, function + ":0x20108:" + std::to_string(k) + ":1"});
      }
      cases.push_back({spec, function + ":0x20108:1:0"});
    }
  }
  const std::string before = FileBytes(master_);
  std::atomic<std::size_t> next{0};
  std::mutex failuresLock;
  std::vector<std::string> failures;
  const auto worker = [&](int number) {
    for (std::size_t i = next++; i < cases.size(); i = next++) {
      const Case& c = cases[i];
      const fs::path project = Copy("sweep-" + std::to_string(number) + ".db");
      const GrxRun run = Grx(Command(*c.spec, project), "Q3JDBMOX_FAULTS=" + c.fault);
      std::string failure;
      if (run.exitCode == 0) {
        if (Export(project) != reference[c.spec]) failure = "exit 0, but the outcome differs from a run without faults";
      } else if (run.exitCode == 3 || run.exitCode == 1) {
        // A negative answer (not imported) or a failure: nothing may have changed.
        if (FileBytes(project) != before)
          failure = "exit " + std::to_string(run.exitCode) + ", but the file was changed";
        if (run.exitCode == 3 && run.out.find(std::string("grx ") + c.spec->name + ": ") == std::string::npos) {
          failure += " exit 3 without the command's message";
        }
      } else {
        failure = "exit " + std::to_string(run.exitCode);
      }
      if (!failure.empty()) {
        std::lock_guard lock(failuresLock);
        failures.push_back(std::string(c.spec->name) + " with " + c.fault + ": " + failure + "\n" + run.out);
      }
    }
  };
  std::thread first(worker, 1), second(worker, 2);
  first.join();
  second.join();
  std::cout << "fault sweep: " << cases.size() << " runs of " << reference.size() << " writing commands\n";
  EXPECT_GT(cases.size(), reference.size() * 5);
  for (const std::string& f : failures) ADD_FAILURE() << f;
}

TEST_F(GrxFaultSweepTest, WritingCommandsOnALockedProjectFailAndChangeNothing) {
  const fs::path project = Copy("locked.db");
  // The file is read only before the lock is taken and after it is let go: closing any handle of
  // it in this process would drop the lock.
  const std::string before = FileBytes(project);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(project.string().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::vector<std::pair<std::string, GrxRun>> runs;
  for (const cli::CommandSpec* spec : WritingCommands()) runs.emplace_back(spec->name, Grx(Command(*spec, project)));
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  for (const auto& [name, run] : runs) {
    EXPECT_EQ(run.exitCode, 3) << name << ": " << run.out;
    EXPECT_THAT(run.out, HasSubstr("grx " + name + ": " + project.string() + ": "))
        << "the message names the command and the file";
    EXPECT_THAT(run.out, HasSubstr("locked"));
  }
  EXPECT_EQ(FileBytes(project), before);
}

TEST_F(GrxFaultSweepTest, WritingCommandsOnAReadOnlyFileFailAndChangeNothing) {
  const fs::path project = Copy("readonly.db");
  fs::permissions(project, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // A user who may write any file (root) runs grx as nobody, for whom the file is read-only.
  std::string prefix;
  if (std::ofstream(project, std::ios::binary | std::ios::app)) {
    if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "this user writes read-only files, and setpriv is missing";
    prefix = "--reuid=65534 --regid=65534 --clear-groups " + (BinDir() / "grx").string() + " ";
  }
  const std::string before = FileBytes(project);
  for (const cli::CommandSpec* spec : WritingCommands()) {
    const fs::path reference = Copy(std::string("changes-") + spec->name + ".db");
    const GrxRun referenceRun = Grx(Command(*spec, reference));
    ASSERT_EQ(referenceRun.exitCode, 0) << spec->name << ": " << referenceRun.out;
    const bool changes = Export(reference) != Export(master_);
    const GrxRun run =
        prefix.empty() ? Grx(Command(*spec, project)) : Run("/usr/bin/setpriv", prefix + Command(*spec, project));
    if (changes) {
      // A failure (3, with the command's message naming the file), or the command's own "not done" (1).
      EXPECT_TRUE(run.exitCode == 3 || run.exitCode == 1) << spec->name << ": " << run.out;
      if (run.exitCode == 3) {
        EXPECT_THAT(run.out, HasSubstr("grx " + std::string(spec->name) + ": ")) << spec->name;
        EXPECT_THAT(run.out, HasSubstr(project.string())) << spec->name;
      }
    } else {
      EXPECT_EQ(run.exitCode, 0) << spec->name << " changes nothing and may run: " << run.out;
    }
    EXPECT_EQ(FileBytes(project), before) << spec->name;
  }
}

TEST_F(GrxFaultSweepTest, AFaultThatNamesNoFunctionIsRefused) {
  const fs::path project = Copy("misspelt.db");
  const GrxRun run = Grx("--project " + project.string() + " stamp D445_AXES", "Q3JDBMOX_FAULTS=iec_BlobWrit:0x20108");
  EXPECT_EQ(run.exitCode, 3) << run.out;
  EXPECT_THAT(run.out, HasSubstr("iec_BlobWrit"));
  EXPECT_EQ(FileBytes(project), FileBytes(master_));
}

} // namespace
} // namespace grx::testing
