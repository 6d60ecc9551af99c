// The seam through which the library shows modal message boxes and modeless progress dialogs. A
// Win32 build calls MessageBoxA and creates dialog windows; here a presenter shows them: on a
// terminal the box asks the person and the progress dialog draws a bar that updates in place,
// without one the box gives its default answer, and tests script the answers and record what
// was shown. The installed presenters are one per process; texts reach them in the ANSI code
// page, and the terminal presenters write them in UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_handles.h"

namespace grx::platform {

enum class BoxIcon { None, Stop, Question, Exclamation, Information };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class BoxAnswer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct MessageBoxRequest {
  WindowHandle owner = kNoWindow;
  std::string caption;
  std::string text;
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
  // The library's own message dialog also has a second text, labels of its own for the buttons (in
  // the order of the choices; empty: the standard ones) and a help context (0: no help button).
  std::string secondText;
  std::vector<std::string> buttonLabels;
  std::uint32_t helpContext = 0;
  // What the help button does (it leaves the box open); called by presenters that offer it.
  std::function<void()> onHelp;
};

using Presenter = std::function<BoxAnswer(const MessageBoxRequest&)>;

// Shows the box through the installed presenter (the default one when none is installed).
BoxAnswer ShowMessageBox(const MessageBoxRequest& request);
// Installs a presenter; an empty function restores the default. Returns the previous one.
Presenter SetPresenter(Presenter presenter);
// The installed presenter; empty when the default one is in use.
Presenter InstalledPresenter();

// A button of a box: the key that answers it on a terminal, its answer and its standard label.
struct BoxChoice {
  char key;
  BoxAnswer answer;
  const char* label;
};
std::vector<BoxChoice> BoxChoices(BoxButtons buttons);
// The answer a box gives when nobody is asked: its first button.
BoxAnswer DefaultAnswer(BoxButtons buttons);
// The presenter used when none is installed: asks on the terminal when standard input is one,
// otherwise answers by default.
BoxAnswer PresentOnTerminalOrByDefault(const MessageBoxRequest& request);

const char* IconName(BoxIcon icon);
const char* ButtonsName(BoxButtons buttons);
const char* AnswerName(BoxAnswer answer);

// A progress dialog as it stands: its window (which receives the Cancel command), owner, caption,
// two text lines, the bar's range and position, and whether Cancel can be pressed.
struct ProgressState {
  WindowHandle window = kNoWindow;
  WindowHandle owner = kNoWindow;
  std::string caption, text, secondText;
  int lower = 0, upper = 100, position = 0;
  bool cancelEnabled = true;
};

// What shows progress dialogs: open answers false when the dialog cannot be created; update
// follows every change; close ends it. Pressing Cancel posts the command IDCANCEL (WM_COMMAND,
// wParam 2) to the dialog's window.
struct ProgressPresenter {
  std::function<bool(const ProgressState&)> open;
  std::function<void(const ProgressState&)> update;
  std::function<void(const ProgressState&)> close;
};

// Through the installed progress presenter, or the terminal's (a bar on standard error when it is
// a terminal; a line typed on a terminal presses Cancel; nothing is drawn otherwise).
bool OpenProgress(const ProgressState& state);
void UpdateProgress(const ProgressState& state);
void CloseProgress(const ProgressState& state);
// Installs a progress presenter (empty members: the terminal's); returns the previous one.
ProgressPresenter SetProgressPresenter(ProgressPresenter presenter);
ProgressPresenter InstalledProgressPresenter();
// The terminal's bar line: "[#####-----]  50 %", and how Cancel is pressed when it can be.
std::string ProgressBarLine(const ProgressState& state);

// Records every box and answers from a script (then by default); for tests and for grx.
class ScriptedPresenter {
public:
  explicit ScriptedPresenter(std::vector<BoxAnswer> answers = {});
  ~ScriptedPresenter();
  ScriptedPresenter(const ScriptedPresenter&) = delete;
  ScriptedPresenter& operator=(const ScriptedPresenter&) = delete;

  std::vector<MessageBoxRequest> shown() const;
  // The answer each shown box got, in the same order.
  std::vector<BoxAnswer> answered() const;

private:
  struct State;
  std::shared_ptr<State> state_;
  Presenter previous_;
};

} // namespace grx::platform
