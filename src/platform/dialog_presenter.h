// The seam through which the library shows modal message boxes. A Win32 build calls
// MessageBoxA; here a presenter answers: on a terminal it asks the person, without one it gives
// the box's default answer, and tests script the answers and record every box.
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
// The answer a box gives when nobody is asked: its first button.
BoxAnswer DefaultAnswer(BoxButtons buttons);
// The presenter used when none is installed: asks on the terminal when standard input is one,
// otherwise answers by default.
BoxAnswer PresentOnTerminalOrByDefault(const MessageBoxRequest& request);

const char* IconName(BoxIcon icon);
const char* ButtonsName(BoxButtons buttons);
const char* AnswerName(BoxAnswer answer);

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
