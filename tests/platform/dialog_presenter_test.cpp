// Message boxes answered on a terminal, by default without one, and from a script.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

#include "platform/dialog_presenter.h"
#include "platform/terminal_input.h"

namespace grx::platform {
namespace {

using ::testing::ElementsAre;

MessageBoxRequest Box(BoxButtons buttons) {
  MessageBoxRequest box;
  box.caption = "Installation error";
  box.text = "Q3JDBMOX.DLL is missing.";
  box.icon = BoxIcon::Stop;
  box.buttons = buttons;
  return box;
}

TEST(DialogPresenterTest, WithoutATerminalEveryBoxGetsItsFirstButton) {
  {
    const auto input = ScopedStandardInput::FromNullDevice();
    ASSERT_TRUE(input.ok());
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::Ok)), BoxAnswer::Ok);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::OkCancel)), BoxAnswer::Ok);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNo)), BoxAnswer::Yes);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNoCancel)), BoxAnswer::Yes);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::RetryCancel)), BoxAnswer::Retry);
  }
}

TEST(DialogPresenterTest, OnATerminalThePersonAnswersUntilTheAnswerFits) {
  {
    const auto input = ScopedStandardInput::FromTerminalTyping("x\nNo\n\nc\n");
    ASSERT_TRUE(input.ok());
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNo)), BoxAnswer::No);          // "x" asked again
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::RetryCancel)), BoxAnswer::Retry); // empty line: default
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNoCancel)), BoxAnswer::Cancel);
  }
  {
    // The buttons are numbered in the frame; a number picks one, a number past them asks again.
    const auto input = ScopedStandardInput::FromTerminalTyping("2\n4\n3\n");
    ASSERT_TRUE(input.ok());
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::OkCancel)), BoxAnswer::Cancel);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNoCancel)), BoxAnswer::Cancel);
  }
}

TEST(DialogPresenterTest, TheHelpKeyCallsTheHelpAndKeepsTheBoxOpen) {
  const auto input = ScopedStandardInput::FromTerminalTyping("?\n?\nn\n?\no\n");
  ASSERT_TRUE(input.ok());
  int helped = 0;
  MessageBoxRequest box = Box(BoxButtons::YesNo);
  box.helpContext = 0x30000 | 1054;
  box.onHelp = [&] { ++helped; };
  EXPECT_EQ(ShowMessageBox(box), BoxAnswer::No);
  EXPECT_EQ(helped, 2);
  box.helpContext = 0; // no help button: "?" is no answer
  box.buttons = BoxButtons::Ok;
  EXPECT_EQ(ShowMessageBox(box), BoxAnswer::Ok);
  EXPECT_EQ(helped, 2);
}

TEST(DialogPresenterTest, ScriptsNestAndRestoreWhatWasInstalled) {
  ScriptedPresenter outer({BoxAnswer::Cancel});
  {
    ScriptedPresenter inner({BoxAnswer::No});
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNo)), BoxAnswer::No);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNo)), BoxAnswer::Yes); // script used up: default
    EXPECT_THAT(inner.answered(), ElementsAre(BoxAnswer::No, BoxAnswer::Yes));
  }
  EXPECT_EQ(ShowMessageBox(Box(BoxButtons::OkCancel)), BoxAnswer::Cancel);
  ASSERT_EQ(outer.shown().size(), 1u);
  EXPECT_EQ(outer.shown()[0].caption, "Installation error");
  EXPECT_STREQ(ButtonsName(outer.shown()[0].buttons), "OK/Cancel");
  EXPECT_STREQ(IconName(BoxIcon::Question), "question");
  EXPECT_STREQ(AnswerName(BoxAnswer::Retry), "retry");
}

} // namespace
} // namespace grx::platform
