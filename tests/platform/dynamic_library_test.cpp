// Loading modules by name: file names, the search order and failures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "chartdb/q3jdbmox_decorated_names.h"
#include "platform/dynamic_library.h"
#include "platform/process.h"

namespace grx::platform {
namespace {

using ::testing::HasSubstr;

TEST(DynamicLibraryTest, FileNames) {
  EXPECT_EQ(ModuleFileName("Q3JDBMOX.DLL"), "Q3JDBMOX.so");
  EXPECT_EQ(ModuleFileName("es_log.dll"), "es_log.so");
  EXPECT_EQ(ModuleFileName("w5lresax"), "w5lresax.so");
  EXPECT_EQ(ModuleFileName("/opt/x/lib.so.1"), "/opt/x/lib.so.1");
}

TEST(DynamicLibraryTest, FindsTheStandInBesideTheProgram) {
  std::string error;
  Module module = Module::Load("Q3JDBMOX.DLL", &error);
  ASSERT_TRUE(module) << error;
  EXPECT_NE(module.Find("iec_TasksGet"), nullptr);
  EXPECT_NE(module.Find(GRX_DECORATED_GL_CPUIDGET), nullptr);
  EXPECT_EQ(module.Find("iec_NoSuchFunction"), nullptr);
  Module moved = std::move(module);
  EXPECT_FALSE(module); // NOLINT(bugprone-use-after-move): a moved-from module is empty
  EXPECT_TRUE(moved);
}

TEST(DynamicLibraryTest, MissingModulesAndTheExtraSearchPath) {
  std::string error;
  EXPECT_FALSE(Module::Load("NOSUCHMODULE.DLL", &error));
  EXPECT_THAT(error, HasSubstr("NOSUCHMODULE.so"));
  grx::platform::SetEnvironmentValue("GRX_MODULE_PATH", "/nonexistent-a:/nonexistent-b");
  const auto folders = ModuleSearchFolders();
  grx::platform::RemoveEnvironmentValue("GRX_MODULE_PATH");
  ASSERT_GE(folders.size(), 3u);
  EXPECT_EQ(folders[folders.size() - 2], "/nonexistent-a");
  EXPECT_EQ(folders.back(), "/nonexistent-b");
}

} // namespace
} // namespace grx::platform
