// Every path of the binding, each in a fresh process (the binding probe): library missing,
// function missing, failed loads retried, boxes in two languages, the error handler, the
// supported-name answers, concurrent first calls, and the call trace through ES_LOG.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dbaccess/trace_scramble.h"
#include "eslog/es_log_file.h"
#include "platform/process.h"
#include "program_run.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

class BindingTest : public ::testing::Test {
protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the probe with the environment given (VAR=value ...) and none of the test run's module
  // folders, trace file or settings; its standard output. It runs in its own folder, so that no
  // search of the current folder finds the API library.
  std::string Probe(const std::string& scenario, const std::string& environment = {}) {
    const fs::path isolated = fs::path(GRX_BINARY_DIR) / "isolated";
    const fs::path before = fs::current_path();
    fs::current_path(isolated);
    const ProgramRun run = RunBuiltProgram((isolated / "binding_probe").string(), scenario, environment,
                                           {"GRX_MODULE_PATH", "ES_LOG_FILE", "GRX_SETTINGS_FILE"}, false);
    fs::current_path(before);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    return run.out;
  }

  std::string Settings(const std::string& language) {
    const fs::path file = folder_ / "settings.ini";
    std::ofstream(file) << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\nCurrent="
                        << language << "\n";
    return "GRX_SETTINGS_FILE='" + file.string() + "'";
  }

  static std::string Bin() { return "GRX_MODULE_PATH='" + std::string(GRX_BINARY_DIR) + "/bin'"; }

  fs::path folder_ =
      fs::temp_directory_path() / ("grx-binding-test-" + std::to_string(grx::platform::CurrentProcessId()));
};

TEST_F(BindingTest, MissingLibraryEveryCall) {
  const std::string out = Probe("tasks-twice");
  // error id 0x201EA, detail 20, origin 0x315E0 - twice, each with its box.
  EXPECT_THAT(out, HasSubstr("result=0315e000140201ea errorId=201EA\nresult=0315e000140201ea errorId=201EA\n"));
  EXPECT_THAT(out, HasSubstr("errorClass=20000"));
  EXPECT_THAT(out, HasSubstr("box caption=[Installation error] icon=stop buttons=OK\n"
                             "box text=[The application cannot load the DLL Q3JDBMOX.DLL.\n"
                             "Please check your installation and reinstall if necessary !\n"
                             "CFC version V6.2 or newer should be installed.]"));
  std::size_t boxes = 0;
  for (std::size_t at = out.find("box caption"); at != std::string::npos; at = out.find("box caption", at + 1)) ++boxes;
  EXPECT_EQ(boxes, 5u); // iec_TasksGet twice, gl_ErrorIdGet after each and gl_ErrorClassGet cannot bind
}

TEST_F(BindingTest, AFailedLoadIsNotRemembered) {
  const std::string out = Probe("retry '" + std::string(GRX_BINARY_DIR) + "/bin'");
  EXPECT_THAT(out, HasSubstr("first=201EA\nsecond=20106\n")); // then bound: no project is open
  EXPECT_THAT(out, HasSubstr("box caption=[Installation error]"));
}

TEST_F(BindingTest, ErrorTextsWithoutTheErrorTextLibrary) {
  EXPECT_THAT(Probe("basis-es"), HasSubstr("message=Unknown\n"));
  EXPECT_THAT(Probe("basis-es", Bin()), HasSubstr("message=The object is locked by another user.\n"));
}

TEST_F(BindingTest, MissingLibraryInGerman) {
  const std::string out = Probe("tasks-twice", Settings("GERMAN"));
  EXPECT_THAT(out, HasSubstr("box caption=[Fehler in der Installation]"));
  EXPECT_THAT(out, HasSubstr("Die Applikation kann die DLL Q3JDBMOX.DLL nicht laden."));
}

TEST_F(BindingTest, MissingFunctionInFrench) {
  const std::string out = Probe(
      "missing-function", "GRX_MODULE_PATH='" + std::string(GRX_BINARY_DIR) + "/incomplete' " + Settings("FRENCH"));
  EXPECT_THAT(out, HasSubstr("result=0315e0000a0201ea"));       // detail 10
  EXPECT_THAT(out, HasSubstr("other=000A6 out=1000200000003")); // the other functions work
  EXPECT_THAT(out, HasSubstr("box caption=[Erreur dans l'installation]"));
  // The box shows Windows-1252 text.
  EXPECT_THAT(out, HasSubstr("Cette fonction iec_TasksGet n'est pas encore disponible dans la version CFC install\xE9"
                             "e (Q3JDBMOX.DLL).\nInstallez si possible la version V6.2 ou une version ult\xE9rieure."));
}

TEST_F(BindingTest, ErrorHandlerNeverGetsBindingResults) {
  const std::string out = Probe("error-handler", Bin());
  EXPECT_THAT(out, HasSubstr("answer=1\nloaded=0\n")); // 0x201EA: answered without loading
  EXPECT_THAT(out, HasSubstr("answer=1\nloaded=1\n")); // any other: the API's handler
  EXPECT_THAT(out, Not(HasSubstr("box")));
}

TEST_F(BindingTest, IsSupported) {
  const std::string out = Probe("is-supported", Bin());
  EXPECT_THAT(out, HasSubstr("iec_TaskRead answer=1 result=0315ea0000000000 loaded=0"));
  EXPECT_THAT(out, HasSubstr("iec_SourcesGetV6_0 answer=1 result=0315ea0fff000000 loaded=1"));
  EXPECT_THAT(out, HasSubstr("iec_NoSuchFunctionV6_0 answer=0 result=0315ea0fff000000"));
  EXPECT_THAT(out, Not(HasSubstr("box")));

  const std::string missing = Probe("is-supported");
  EXPECT_THAT(missing, HasSubstr("iec_SourcesGetV6_0 answer=0 result=0315ea00000201ea"));
  EXPECT_THAT(missing, HasSubstr("box caption=[Installation error]"));
}

TEST_F(BindingTest, ConcurrentFirstCalls) {
  const std::string out = Probe("threads", Bin());
  std::istringstream lines(out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("errorId=", 0) == 0) {
      EXPECT_EQ(line, "errorId=20106"); // bound and called: the stand-in has no project open
      ++count;
    }
  }
  EXPECT_EQ(count, 8);
}

TEST_F(BindingTest, CallTraceThroughTheLoggingLibrary) {
  const fs::path log = folder_ / "trace.log";
  Probe("trace", Bin() + " ES_LOG_FILE='" + log.string() + "'");
  std::ifstream in(log);
  std::vector<std::string> db, para;
  std::string line;
  while (std::getline(in, line)) {
    const eslog::Event event = eslog::ParseLine(line);
    ASSERT_FALSE(event.client.empty()) << line;
    const std::string& text = event.text;
    const auto decoded = dbaccess::DecodeTraceLine(text);
    ASSERT_TRUE(decoded) << line;
    (event.client == "DB" ? db : para).push_back(*decoded);
  }
  ASSERT_GE(db.size(), 4u);
  EXPECT_EQ(db[0], "[BEGIN EsLogClient DB, Version V6.2]");
  EXPECT_EQ(db[1], "BEGIN iec_TasksGet");
  EXPECT_EQ(db[2], "END iec_TasksGet #####ERROR_ID=0x20106"); // no project is open
  EXPECT_THAT(para, ::testing::Contains("  IN: mode = M_FIRST"));
  EXPECT_THAT(para, ::testing::Contains("  IN: resourceId = 0001:0002:0:0000003"));
  EXPECT_THAT(para, ::testing::Contains("  IN: prevTransactionId = 7"));
  EXPECT_THAT(para, ::testing::Contains("  IN: name = (char *)\"Plan1\""));
  EXPECT_THAT(para, ::testing::Contains("  IN: comment = (char *)\"" + std::string(75, 'x') + "....\""));
  EXPECT_THAT(para, ::testing::Contains("  IN: uda = {key=\"Key\", value=\"" + std::string(45, 'v') + "....\"}"));
  EXPECT_THAT(db, ::testing::Contains("END gl_ObjectNameGet #####ERROR_ID=0x20106"));
  EXPECT_THAT(db, ::testing::Contains("END gl_UndoRedoAvail #Result=(BOOL)0"));
  EXPECT_THAT(db, ::testing::Contains(::testing::StartsWith("END _gl_MemoryAllocate ==> 0x")));
  EXPECT_THAT(db, ::testing::Contains("END _gl_MemoryDeallocate"));
}

} // namespace
} // namespace grx::testing
