// String and dialog resources as the library loads them from the language resource modules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/dynamic_library.h"
#include "platform/string_resources.h"
#include "w5lres/resource_numbers.h"

namespace grx::platform {
namespace {

void* Loaded(const char* name) {
  std::string error;
  Module module = Module::Load(name, &error);
  EXPECT_TRUE(module) << error;
  return module.Detach();
}

TEST(StringResourcesTest, EachLanguageModuleAnswersFromItsOwnTable) {
  void* english = Loaded("w5lresax");
  void* german = Loaded("w5lresax_de");
  ASSERT_TRUE(english && german);
  EXPECT_EQ(LoadResourceString(english, w5lres::kYesButton), "&Yes");
  EXPECT_EQ(LoadResourceString(german, w5lres::kYesButton), "&Ja");
  EXPECT_EQ(LoadResourceString(german, 424242), std::nullopt);
  // Resources are Unicode; the library reads them in its code page.
  const auto check = LoadResourceString(german, w5lres::kControllerServedDirectly);
  ASSERT_TRUE(check);
  EXPECT_NE(check->find("Bitte pr\xFC"
                        "fen Sie"),
            std::string::npos);
  // A module without a string table has no strings.
  void* log = Loaded("ES_LOG.DLL");
  EXPECT_EQ(LoadResourceString(log, w5lres::kYesButton), std::nullopt);
  EXPECT_EQ(LoadDialogTemplate(log, w5lres::kMessageBoxDialog), std::nullopt);
}

TEST(StringResourcesTest, LoadStringCopiesWhatFitsAndTerminates) {
  void* german = Loaded("w5lresax_de");
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(LoadStringA(german, w5lres::kCancelButton, buffer, sizeof buffer), 7); // "Abbrechen" cut
  EXPECT_STREQ(buffer, "Abbrech");
  EXPECT_EQ(LoadStringA(german, w5lres::kNoButton, buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "&Nein");
  EXPECT_EQ(LoadStringA(german, 424242, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(LoadStringA(german, w5lres::kNoButton, buffer, 1), 0);
  EXPECT_EQ(LoadStringA(german, w5lres::kNoButton, nullptr, 8), 0);
}

TEST(StringResourcesTest, DialogTemplatesCarryTheirControls) {
  void* german = Loaded("w5lresax_de");
  const auto box = LoadDialogTemplate(german, w5lres::kMessageBoxDialog);
  ASSERT_TRUE(box);
  EXPECT_STREQ(box->caption, "Meldung");
  std::size_t controls = 0;
  while (box->controls[controls] != 0) ++controls;
  EXPECT_EQ(controls, 7u);
  const auto progress = LoadDialogTemplate(german, w5lres::kProgressDialog);
  ASSERT_TRUE(progress);
  EXPECT_EQ(progress->controls[0], w5lres::kProgressBar);
  EXPECT_EQ(LoadDialogTemplate(german, 1), std::nullopt);
}

} // namespace
} // namespace grx::platform
