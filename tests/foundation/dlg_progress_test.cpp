// The progress dialog: its argument checks and texts, the owner disabled while it is open, the
// Cancel button, the message pump and idle processing, and what goes wrong while it closes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "foundation/dlg_progress.h"
#include "foundation/exceptions.h"
#include "foundation/object_trace.h"
#include "recording_trace.h"
#include "platform/dialog_presenter.h"
#include "platform/dynamic_library.h"
#include "platform/module_state.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "w5lres/resource_numbers.h"

namespace ZEB {
namespace {

using grx::platform::ProgressState;

using grx::testing::RecordingTrace;

// A loop whose pump can fail and whose idle work takes a number of rounds.
class CountingLoop : public grx::platform::MessageLoop {
public:
  bool PumpMessage() override {
    ++pumped;
    return pumpAnswers ? grx::platform::MessageLoop::PumpMessage() : false;
  }
  bool OnIdle(long count) override {
    idleCounts.push_back(count);
    return count + 1 < idleRounds;
  }
  bool pumpAnswers = true;
  int pumped = 0;
  long idleRounds = 1;
  std::vector<long> idleCounts;
};

class DlgProgressTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    grx::platform::Module module = grx::platform::Module::Load("w5lresax", &error);
    ASSERT_TRUE(module) << error;
    state_.resourceHandle = module.Detach();
    guard_ = std::make_unique<grx::platform::ModuleStateGuard>(state_);
    owner_ = grx::platform::CreateWindowHandle("Chart editor");
    previous_ = grx::platform::SetProgressPresenter({
        [this](const ProgressState& s) {
          opened.push_back(s);
          return openAnswer;
        },
        [this](const ProgressState& s) { updated.push_back(s); },
        [this](const ProgressState& s) {
          closed.push_back(s);
          if (closeThrows) throw CUnexpectedException("presenter gone", "test", 1);
        },
    });
  }
  void TearDown() override {
    grx::platform::SetProgressPresenter(previous_);
    grx::platform::SetApplicationMessageLoop(nullptr);
    grx::platform::DestroyWindowHandle(owner_);
    CObject::ResetTrace();
    guard_.reset();
  }

  grx::platform::ModuleState state_;
  std::unique_ptr<grx::platform::ModuleStateGuard> guard_;
  grx::platform::ProgressPresenter previous_;
  grx::platform::WindowHandle owner_ = grx::platform::kNoWindow;
  std::vector<ProgressState> opened, updated, closed;
  bool openAnswer = true, closeThrows = false;
};

TEST_F(DlgProgressTest, ArgumentsAreChecked) {
  const auto message = [](auto&& make) {
    try {
      make();
    } catch (const CInvalidArgException& e) {
      return e.GetMessage();
    }
    return std::string("no exception");
  };
  EXPECT_THAT(message([&] { CDlgProgress(owner_, 0u, 1032u); }), ::testing::HasSubstr("<nIdTitle> has no valid ID."));
  EXPECT_THAT(message([&] { CDlgProgress(owner_, 1032u, 0u); }), ::testing::HasSubstr("<nIdMsg> has no valid ID."));
  EXPECT_THAT(message([&] { CDlgProgress(owner_, nullptr, "text"); }), ::testing::HasSubstr("<lpszTitle> = NULL."));
  EXPECT_THAT(message([&] { CDlgProgress(owner_, "title", nullptr); }), ::testing::HasSubstr("<lpszMsg> = NULL."));
  int other = 0;
  EXPECT_THAT(message([&] { CDlgProgress(owner_, 1032u, 1032u, &other); }),
              ::testing::HasSubstr("<hInstance> != NULL not yet supported."));
  EXPECT_THAT(message([&] { CDlgProgress(owner_, "title", "text", &other); }),
              ::testing::HasSubstr("<hInstance> != NULL not yet supported."));
  // The module the texts come from anyway may be named.
  CDlgProgress named(owner_, w5lres::kStampedByOlderRelease, w5lres::kStampedByOlderRelease, state_.resourceHandle);
  EXPECT_EQ(named.State().text, "The charts of this controller were stamped by an older release.");
  EXPECT_NO_THROW(CDlgProgress(owner_, "title", "text", state_.resourceHandle));
}

TEST_F(DlgProgressTest, TextsFromResourcesOrAsGiven) {
  CDlgProgress fromResources(owner_, w5lres::kStampedByOlderRelease, w5lres::kStampedByOlderRelease);
  EXPECT_EQ(fromResources.State().text, "The charts of this controller were stamped by an older release.");
  EXPECT_EQ(fromResources.State().secondText, "Please convert them before editing them.");
  CDlgProgress missing(owner_, 4711u, 4712u);
  EXPECT_EQ(missing.State().caption, "no Resource");
  EXPECT_EQ(missing.State().text, "No Resources available");
  CDlgProgress given(owner_, "Import", "Reading the tasks\r3 of 7");
  EXPECT_EQ(given.State().caption, "Import");
  EXPECT_EQ(given.State().text, "Reading the tasks");
  EXPECT_EQ(given.State().secondText, "3 of 7");
}

TEST_F(DlgProgressTest, TheOwnerTakesNoInputWhileItIsOpen) {
  {
    CDlgProgress dialog(owner_, "Import", "Reading");
    EXPECT_TRUE(grx::platform::IsWindowHandleEnabled(owner_));
    dialog.Create();
    ASSERT_TRUE(dialog.IsOpen());
    EXPECT_FALSE(grx::platform::IsWindowHandleEnabled(owner_));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].owner, owner_);
    EXPECT_EQ(opened[0].caption, "Import");
    dialog.SetRange(0, 10);
    dialog.SetPos(4);
    ASSERT_FALSE(updated.empty());
    EXPECT_EQ(updated.back().position, 4);
    EXPECT_EQ(updated.back().upper, 10);
    const grx::platform::WindowHandle window = dialog.GetSafeHwnd();
    dialog.Close_i();
    EXPECT_TRUE(grx::platform::IsWindowHandleEnabled(owner_));
    EXPECT_FALSE(grx::platform::IsWindowHandle(window));
    EXPECT_EQ(closed.size(), 1u);
    dialog.Create(); // open again; the destructor closes it
    EXPECT_FALSE(grx::platform::IsWindowHandleEnabled(owner_));
  }
  EXPECT_TRUE(grx::platform::IsWindowHandleEnabled(owner_));
  EXPECT_EQ(closed.size(), 2u);

  // A dialog that cannot be created: the owner takes input again.
  openAnswer = false;
  CDlgProgress failing(owner_, "Import", "Reading");
  try {
    failing.Create();
    ADD_FAILURE() << "no exception";
  } catch (const CUnexpectedException& e) {
    EXPECT_THAT(e.GetMessage(), ::testing::HasSubstr("The progress dialog cannot be created."));
  }
  EXPECT_FALSE(failing.IsOpen());
  EXPECT_TRUE(grx::platform::IsWindowHandleEnabled(owner_));
}

TEST_F(DlgProgressTest, CancelIsPolledAfterPumping) {
  CountingLoop loop;
  loop.idleRounds = 3;
  grx::platform::SetApplicationMessageLoop(&loop);
  CDlgProgress dialog(owner_, "Import", "Reading");
  dialog.Create();
  dialog.PumpMessages();
  EXPECT_FALSE(dialog.IsCancelled());
  EXPECT_EQ(loop.idleCounts, (std::vector<long>{0, 1, 2})); // idle until it has no more work

  dialog.EnableCancel(false);
  EXPECT_FALSE(updated.back().cancelEnabled);
  grx::platform::PostWindowMessage(dialog.GetSafeHwnd(), grx::platform::WM_COMMAND, grx::platform::IDCANCEL);
  dialog.PumpMessages();
  EXPECT_FALSE(dialog.IsCancelled()); // a disabled Cancel cannot be pressed
  dialog.EnableCancel(true);
  grx::platform::PostWindowMessage(dialog.GetSafeHwnd(), grx::platform::WM_COMMAND, grx::platform::IDCANCEL);
  EXPECT_FALSE(dialog.IsCancelled()); // not before the message is pumped
  const int pumpedBefore = loop.pumped;
  dialog.PumpMessages();
  EXPECT_TRUE(dialog.IsCancelled());
  EXPECT_EQ(loop.pumped, pumpedBefore + 1);
}

TEST_F(DlgProgressTest, APumpThatAnswersFalseThrows) {
  CountingLoop loop;
  loop.pumpAnswers = false;
  grx::platform::SetApplicationMessageLoop(&loop);
  CDlgProgress dialog(owner_, "Import", "Reading");
  dialog.Create();
  dialog.PumpMessages(); // nothing waiting: the pump is not asked
  EXPECT_EQ(loop.pumped, 0);
  grx::platform::PostWindowMessage(dialog.GetSafeHwnd(), grx::platform::WM_COMMAND, grx::platform::IDOK);
  try {
    dialog.PumpMessages();
    ADD_FAILURE() << "no exception";
  } catch (const CUnexpectedException& e) {
    EXPECT_THAT(e.GetMessage(), ::testing::HasSubstr("AfxGetApp()->PumpMessage returned false."));
  }
  grx::platform::SetApplicationMessageLoop(nullptr);
  dialog.PumpMessages(); // the standard loop takes the message still waiting
  EXPECT_FALSE(grx::platform::PeekWindowMessage());
}

TEST_F(DlgProgressTest, AFailureWhileClosingIsTracedNotThrown) {
  RecordingTrace trace;
  CObject::SetTrace(&trace);
  closeThrows = true;
  CDlgProgress dialog(owner_, "Import", "Reading");
  dialog.Create();
  EXPECT_NO_THROW(dialog.Close_i());
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_TRUE(grx::platform::IsWindowHandleEnabled(owner_));
  EXPECT_THAT(trace.lines, ::testing::ElementsAre("3 CDlgProgress::Close_i: Unexpected exception occured."));
}

TEST(ProgressBarTest, TheBarLineShowsThePositionInTheRange) {
  ProgressState state;
  state.lower = 10;
  state.upper = 30;
  state.position = 20;
  state.cancelEnabled = false;
  EXPECT_THAT(grx::platform::ProgressBarLine(state),
              ::testing::StartsWith("[####################--------------------]  50 %"));
  state.position = 99; // beyond the range: full
  EXPECT_THAT(grx::platform::ProgressBarLine(state), ::testing::StartsWith("[" + std::string(40, '#') + "] 100 %"));
  state.upper = state.lower; // an empty range
  EXPECT_THAT(grx::platform::ProgressBarLine(state), ::testing::StartsWith("[" + std::string(40, '-') + "]   0 %"));
}

} // namespace
} // namespace ZEB
