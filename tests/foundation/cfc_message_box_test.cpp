// The library's message dialog: texts from the resource module's message strings, caption with
// the message number, icons by style, buttons by code, the layout of opening and the results.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/cfc_message_box.h"
#include "foundation/exceptions.h"
#include "foundation/string_ex.h"
#include "platform/dialog_presenter.h"
#include "platform/dynamic_library.h"
#include "platform/module_state.h"
#include "platform/window_handles.h"
#include "w5lres/resource_numbers.h"

namespace ZEB {
namespace {

using grx::platform::BoxAnswer;
using grx::platform::BoxButtons;
using grx::platform::ScriptedPresenter;
using ::testing::ElementsAre;

// Runs with a language module as the resource module, as an export does.
class CfcMessageBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    grx::platform::Module module = grx::platform::Module::Load(language_, &error);
    ASSERT_TRUE(module) << error;
    state_.resourceHandle = module.Detach(); // stays loaded, as a language library does
    guard_ = std::make_unique<grx::platform::ModuleStateGuard>(state_);
  }
  void TearDown() override { guard_.reset(); }

  const char* language_ = "w5lresax";
  grx::platform::ModuleState state_;
  std::unique_ptr<grx::platform::ModuleStateGuard> guard_;
};

TEST_F(CfcMessageBoxTest, MessageStringsGiveCaptionAndTexts) {
  // Three parts: text, second text, caption with the number.
  CDlgCfcMessageBox three(grx::platform::kNoWindow, w5lres::kStampedByOlderRelease, 16, 0);
  const CfcMessageBoxLayout& a = three.OnInitDialog();
  EXPECT_EQ(a.caption, "Version check (jres:1054)");
  EXPECT_EQ(a.text, "The charts of this controller were stamped by an older release.");
  EXPECT_EQ(a.secondText, "Please convert them before editing them.");
  EXPECT_FALSE(a.firstTextStretched);
  // One part: only a caption.
  CDlgCfcMessageBox one(grx::platform::kNoWindow, w5lres::kImportTasksAndTypes, 0, 0);
  const CfcMessageBoxLayout& b = one.OnInitDialog();
  EXPECT_EQ(b.caption, "Import of tasks and block types (jres:3501)");
  EXPECT_EQ(b.text, "");
  EXPECT_TRUE(b.firstTextStretched);
  // Missing: the fallback texts.
  CDlgCfcMessageBox missing(grx::platform::kNoWindow, 4711, 0, 0);
  const CfcMessageBoxLayout& c = missing.OnInitDialog();
  EXPECT_EQ(c.caption, "Fatal Error (jres:4711)");
  EXPECT_EQ(c.text, "No Resources available");
  EXPECT_EQ(c.secondText, "Please restart");
  // Placeholders of the message filled from the arguments.
  const std::vector<std::string> args{"tasks"};
  CDlgCfcMessageBox filled(grx::platform::kNoWindow, w5lres::kImportStepFailed, 48, 0, &args);
  EXPECT_EQ(filled.OnInitDialog().secondText, "tasks");
  // Title overloads: the whole title string, "no Resource" when it is missing.
  CDlgCfcMessageBox titled(grx::platform::kNoWindow, w5lres::kHelpErrorTitle, "a", "", 64, 0);
  EXPECT_EQ(titled.OnInitDialog().caption, "Help error (jres:509)");
  CDlgCfcMessageBox untitled(grx::platform::kNoWindow, 4712, "a", "b", 64, 0);
  EXPECT_EQ(untitled.OnInitDialog().caption, "no Resource (jres:4712)");
}

TEST_F(CfcMessageBoxTest, IconsByStyle) {
  const std::pair<std::uint32_t, std::uint32_t> styles[] = {{16, kIconHand},     {48, kIconExclamation},
                                                            {64, kIconAsterisk}, {32, kIconQuestion},
                                                            {0, kIconQuestion},  {17, kIconQuestion}};
  for (const auto& [style, icon] : styles) {
    CDlgCfcMessageBox box(grx::platform::kNoWindow, 509, "t", "", style, 0);
    EXPECT_EQ(box.OnInitDialog().iconId, icon) << style;
  }
}

TEST_F(CfcMessageBoxTest, ButtonsByCodeAndTheHelpButton) {
  struct Row {
    std::uint32_t buttons;
    bool ok, no, cancel, help;
    const char *okLabel, *noLabel, *cancelLabel;
    bool cancelMoved;
  };
  const Row rows[] = {
      {0, true, false, false, false, "", "", "", false},
      {1, true, false, true, false, "", "", "Cancel", true},
      {2, true, false, true, false, "", "", "Cancel", true}, // abort/retry/ignore: as OK/Cancel
      {3, true, true, true, false, "&Yes", "&No", "Cancel", true},
      {4, true, true, false, false, "&Yes", "&No", "", false},
      {0x4003, true, true, true, true, "&Yes", "&No", "Cancel", false},
      {0x4000, true, false, false, true, "", "", "", false},
  };
  for (const Row& r : rows) {
    CDlgCfcMessageBox box(grx::platform::kNoWindow, 1054, 16, r.buttons);
    const CfcMessageBoxLayout& l = box.OnInitDialog();
    EXPECT_EQ(l.okYes.visible, r.ok) << r.buttons;
    EXPECT_EQ(l.no.visible, r.no) << r.buttons;
    EXPECT_EQ(l.cancel.visible, r.cancel) << r.buttons;
    EXPECT_EQ(l.help.visible, r.help) << r.buttons;
    EXPECT_EQ(l.okYes.label, r.okLabel) << r.buttons;
    EXPECT_EQ(l.no.label, r.noLabel) << r.buttons;
    EXPECT_EQ(l.cancel.label, r.cancelLabel) << r.buttons;
    EXPECT_EQ(l.cancelAtHelpPlace, r.cancelMoved) << r.buttons;
    EXPECT_EQ(box.helpContext(), r.help ? 0x30000u | 1054u : 0u) << r.buttons;
  }
}

TEST_F(CfcMessageBoxTest, ResultsByButtonAndTheOwnerAtTheTop) {
  ScriptedPresenter presenter({BoxAnswer::Yes, BoxAnswer::Ok, BoxAnswer::No, BoxAnswer::Cancel, BoxAnswer::Cancel});
  const auto top = grx::platform::CreateWindowHandle("Chart editor");
  const auto child = grx::platform::CreateWindowHandle("Chart", top);
  CDlgCfcMessageBox yesNo(child, 1054, 16, 4);
  EXPECT_EQ(yesNo.owner(), top);
  EXPECT_EQ(yesNo.DoModal(), 6);
  EXPECT_EQ(CDlgCfcMessageBox(child, 1054, 16, 1).DoModal(), 1);
  EXPECT_EQ(CDlgCfcMessageBox(child, 1054, 16, 3).DoModal(), 7);
  EXPECT_EQ(CDlgCfcMessageBox(child, 1054, 16, 3).DoModal(), 2);
  EXPECT_EQ(CDlgCfcMessageBox(child, 1054, 16, 2).DoModal(), 2);
  const auto shown = presenter.shown();
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0].owner, top);
  EXPECT_EQ(shown[0].buttons, BoxButtons::YesNo);
  EXPECT_THAT(shown[0].buttonLabels, ElementsAre("&Yes", "&No"));
  EXPECT_EQ(shown[4].buttons, BoxButtons::OkCancel);
  EXPECT_EQ(shown[0].secondText, "Please convert them before editing them.");
  grx::platform::DestroyWindowHandle(child);
  grx::platform::DestroyWindowHandle(top);
}

TEST_F(CfcMessageBoxTest, LongTextsScrollAndShortOnesDoNot) {
  const std::string longText(CDlgCfcMessageBox::kTextCapacity + 1, 'x');
  CDlgCfcMessageBox two(grx::platform::kNoWindow, 509, longText, longText, 0, 0);
  EXPECT_TRUE(two.OnInitDialog().firstTextScrolls);
  EXPECT_TRUE(two.OnInitDialog().secondTextScrolls);
  CDlgCfcMessageBox one(grx::platform::kNoWindow, 509, longText, "", 0, 0); // stretched over both
  EXPECT_FALSE(one.OnInitDialog().firstTextScrolls);
}

class CfcMessageBoxGermanTest : public CfcMessageBoxTest {
protected:
  CfcMessageBoxGermanTest() { language_ = "w5lresax_de"; }
};

TEST_F(CfcMessageBoxGermanTest, TheGermanLibraryCarriesTheButtonTexts) {
  CDlgCfcMessageBox box(grx::platform::kNoWindow, 1054, 16, 3);
  EXPECT_EQ(box.OnInitDialog().okYes.label, "&Ja");
  EXPECT_NE(box.OnInitDialog().caption.find("(jres:1054)"), std::string::npos);
}

TEST(StringExTest, PlaceholdersAreReplacedFromTheStartEachTime) {
  EXPECT_EQ(ReplacePlaceholders("%s %s", "%s", {"a%s", "b"}), "ab %s");
  EXPECT_EQ(ReplacePlaceholders("%s and %s", "%s", {"x", "y", "z"}), "x and y");
  EXPECT_EQ(ReplacePlaceholders("", "%s", {"x"}), "");
  EXPECT_EQ(ReplacePlaceholders("none", "%s", {"x"}), "none");
  try {
    ReplacePlaceholders("%s", nullptr, {"x"});
    ADD_FAILURE() << "no exception";
  } catch (const CInvalidArgException& e) {
    EXPECT_THAT(e.GetMessage(), ::testing::HasSubstr("lpszPlaceHolder == NULL"));
  }
}

} // namespace
} // namespace ZEB
