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
  return MessageBoxRequest{kNoWindow, "Installation error", "Q3JDBMOX.DLL is missing.", BoxIcon::Stop, buttons, {}, {},
                           0};
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
