// The application object and the module state: the language module becomes the resource source
// at start and is given back at the end; the export frame is left on every way out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/module_state.h"
#include "platform/process.h"
#include "program_run.h"

namespace grx::testing {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

// The probe runs without the settings file of the test run unless the environment names one.
std::string RunAppProbe(const std::string& environment) {
  const std::string probe = (fs::path(ProgramFolder()) / "app_probe").string();
  const ProgramRun run = RunBuiltProgram(probe, "", environment, {"GRX_SETTINGS_FILE"});
  EXPECT_EQ(run.exitCode, 0);
  return run.out;
}

TEST(LibraryFrameTest, LanguageModuleIsTheResourceSourceUntilTheEnd) {
  const std::string english = RunAppProbe("");
  EXPECT_THAT(english, HasSubstr("language=ENGLISH\nresource-is-language=1\nstring-511=&Yes\n"));
  EXPECT_THAT(english, HasSubstr("module-exception=An import step failed:\r%s\rImport\n"));
  EXPECT_THAT(english, HasSubstr("current-is-library=1\ncurrent-is-host=1\n"));
  EXPECT_THAT(english, HasSubstr("answers=0,0 host-again=1\nraises=raised host-again=1\n"));
  EXPECT_THAT(english, HasSubstr("unload step ran\nresource-restored=1 language-freed=1\n"));

  const fs::path settings =
      fs::temp_directory_path() / ("grx-frame-" + std::to_string(grx::platform::CurrentProcessId()) + ".ini");
  std::ofstream(settings)
      << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\nCurrent=GERMAN\n";
  EXPECT_THAT(RunAppProbe("GRX_SETTINGS_FILE='" + settings.string() + "'"),
              HasSubstr("language=GERMAN\nresource-is-language=1\nstring-511=&Ja\n"));

  // Without a language module the library's own (English) resources are used.
  std::ofstream(settings) << "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\n"
                          << "Current=GERMAN\nLanguageModules=off\n";
  const std::string fallback = RunAppProbe("GRX_SETTINGS_FILE='" + settings.string() + "'");
  EXPECT_THAT(fallback, HasSubstr("language=(none)\nresource-is-language=0\nstring-511=&Yes\n"));
  EXPECT_THAT(fallback, HasSubstr("module-exception=An import step failed:"));
  fs::remove(settings);
}

TEST(LibraryFrameTest, ModuleStateIsRestoredWhenAnExceptionPasses) {
  platform::ModuleState library{"library", nullptr, nullptr};
  platform::ModuleState* host = platform::CurrentModuleState();
  try {
    platform::ModuleStateGuard guard(library);
    EXPECT_EQ(platform::CurrentModuleState(), &library);
    {
      platform::ModuleState inner{"inner", nullptr, nullptr};
      platform::ModuleStateGuard nested(inner);
      EXPECT_EQ(platform::CurrentModuleState(), &inner);
    }
    EXPECT_EQ(platform::CurrentModuleState(), &library);
    throw std::runtime_error("leaves the export");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(platform::CurrentModuleState(), host);
}

} // namespace
} // namespace grx::testing
