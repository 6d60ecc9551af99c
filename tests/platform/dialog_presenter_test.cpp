// Message boxes answered on a terminal, by default without one, and from a script.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "platform/dialog_presenter.h"

namespace grx::platform {
namespace {

using ::testing::ElementsAre;

// Puts fd in the place of standard input for the life of the object.
class StandardInputFrom {
public:
  explicit StandardInputFrom(int fd) : saved_(::dup(STDIN_FILENO)) {
    ::dup2(fd, STDIN_FILENO);
    std::cin.clear();
  }
  ~StandardInputFrom() {
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
    std::cin.clear();
  }

private:
  int saved_;
};

MessageBoxRequest Box(BoxButtons buttons) {
  return MessageBoxRequest{kNoWindow, "Installation error", "Q3JDBMOX.DLL is missing.", BoxIcon::Stop, buttons};
}

TEST(DialogPresenterTest, WithoutATerminalEveryBoxGetsItsFirstButton) {
  const int devNull = ::open("/dev/null", O_RDONLY);
  ASSERT_GE(devNull, 0);
  {
    StandardInputFrom input(devNull);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::Ok)), BoxAnswer::Ok);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::OkCancel)), BoxAnswer::Ok);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNo)), BoxAnswer::Yes);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNoCancel)), BoxAnswer::Yes);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::RetryCancel)), BoxAnswer::Retry);
  }
  ::close(devNull);
}

TEST(DialogPresenterTest, OnATerminalThePersonAnswersUntilTheAnswerFits) {
  int controller = -1, terminal = -1;
  ASSERT_EQ(::openpty(&controller, &terminal, nullptr, nullptr, nullptr), 0);
  const std::string typed = "x\nNo\n\nc\n";
  ASSERT_EQ(::write(controller, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
  {
    StandardInputFrom input(terminal);
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNo)), BoxAnswer::No);          // "x" asked again
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::RetryCancel)), BoxAnswer::Retry); // empty line: default
    EXPECT_EQ(ShowMessageBox(Box(BoxButtons::YesNoCancel)), BoxAnswer::Cancel);
  }
  ::close(terminal);
  ::close(controller);
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
