// The settings store as the library reads it: a file named by GRX_SETTINGS_FILE first, then the
// registrations installed beside the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/process.h"
#include "platform/settings_store.h"

namespace grx::platform {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous_ = EnvironmentValue("GRX_SETTINGS_FILE");
    file_ = std::filesystem::temp_directory_path() / ("grx_settings_" + std::to_string(CurrentProcessId()) + ".ini");
    SetEnvironmentValue("GRX_SETTINGS_FILE", file_.string());
  }
  void TearDown() override {
    std::filesystem::remove(file_);
    if (previous_) {
      SetEnvironmentValue("GRX_SETTINGS_FILE", *previous_);
    } else {
      RemoveEnvironmentValue("GRX_SETTINGS_FILE");
    }
  }
  void Write(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }

  std::filesystem::path file_;
  std::optional<std::string> previous_;
};

constexpr const char* kLanguages = "Software\\Halvorn\\ORBIX\\2.0\\General\\Languages";

TEST_F(SettingsStoreTest, KeysAndValueNamesIgnoreCaseAndValuesKeepTheirKind) {
  Write(
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\r\n"
      "Current = GERMAN \r\n"
      "Level=dword:0x10\r\n"
      "@=default text\r\n"
      "[HKEY_CURRENT_USER\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\r\n"
      "Current=ENGLISH\r\n");
  EXPECT_EQ(SettingsFile(), file_.string());
  const auto current = ReadSetting(Hive::LocalMachine, "software\\HALVORN\\orbix\\2.0\\general\\languages", "CURRENT");
  ASSERT_TRUE(current);
  EXPECT_EQ(current->kind, SettingValue::Kind::Text);
  EXPECT_EQ(current->text, "GERMAN");
  const auto level = ReadSetting(Hive::LocalMachine, kLanguages, "Level");
  ASSERT_TRUE(level);
  EXPECT_EQ(level->kind, SettingValue::Kind::Number);
  EXPECT_EQ(level->number, 16u);
  EXPECT_EQ(ReadSettingText(Hive::LocalMachine, kLanguages, "@"), "default text");
  // The hive is part of the key.
  EXPECT_EQ(ReadSettingText(Hive::CurrentUser, kLanguages, "Current"), "ENGLISH");
  EXPECT_FALSE(ReadSetting(Hive::ClassesRoot, kLanguages, "Current"));
}

TEST_F(SettingsStoreTest, MissingOrUnfitValuesAnswerNothing) {
  Write(
      "[HKEY_LOCAL_MACHINE\\Software\\Halvorn\\ORBIX\\2.0\\General\\Languages]\n"
      "Current=GERMAN\n"
      "Level=dword:3\n");
  EXPECT_FALSE(ReadSetting(Hive::LocalMachine, kLanguages, "Missing"));
  EXPECT_FALSE(ReadSetting(Hive::LocalMachine, "Software\\Halvorn\\Other", "Current"));
  // A number is not a text, and a text longer than the caller's buffer is not read.
  EXPECT_FALSE(ReadSettingText(Hive::LocalMachine, kLanguages, "Level"));
  EXPECT_FALSE(ReadSettingText(Hive::LocalMachine, kLanguages, "Current", 5));
  EXPECT_EQ(ReadSettingText(Hive::LocalMachine, kLanguages, "Current", 6), "GERMAN");
}

TEST_F(SettingsStoreTest, AMissingFileLeavesOnlyTheInstalledRegistrations) {
  std::filesystem::remove(file_);
  EXPECT_FALSE(ReadSetting(Hive::LocalMachine, kLanguages, "Current"));
}

} // namespace
} // namespace grx::platform
