#include "platform/dialog_presenter.h"
#include "platform/process.h"

#include <cstdio>
#include <iostream>
#include <mutex>

namespace grx::platform {
namespace {

std::mutex presenterMutex;
Presenter& CurrentPresenter() {
  static Presenter presenter;
  return presenter;
}

std::vector<std::pair<char, BoxAnswer>> Choices(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return {{'o', BoxAnswer::Ok}};
    case BoxButtons::OkCancel:
      return {{'o', BoxAnswer::Ok}, {'c', BoxAnswer::Cancel}};
    case BoxButtons::YesNo:
      return {{'y', BoxAnswer::Yes}, {'n', BoxAnswer::No}};
    case BoxButtons::YesNoCancel:
      return {{'y', BoxAnswer::Yes}, {'n', BoxAnswer::No}, {'c', BoxAnswer::Cancel}};
    case BoxButtons::RetryCancel:
      return {{'r', BoxAnswer::Retry}, {'c', BoxAnswer::Cancel}};
  }
  return {{'o', BoxAnswer::Ok}};
}

} // namespace

struct ScriptedPresenter::State {
  std::mutex mutex;
  std::vector<BoxAnswer> answers;
  std::size_t next = 0;
  std::vector<MessageBoxRequest> shown;
  std::vector<BoxAnswer> answered;
};

const char* IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Stop:
      return "stop";
    case BoxIcon::Question:
      return "question";
    case BoxIcon::Exclamation:
      return "exclamation";
    case BoxIcon::Information:
      return "information";
    case BoxIcon::None:
      break;
  }
  return "none";
}

const char* ButtonsName(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return "OK";
    case BoxButtons::OkCancel:
      return "OK/Cancel";
    case BoxButtons::YesNo:
      return "Yes/No";
    case BoxButtons::YesNoCancel:
      return "Yes/No/Cancel";
    case BoxButtons::RetryCancel:
      return "Retry/Cancel";
  }
  return "OK";
}

const char* AnswerName(BoxAnswer answer) {
  switch (answer) {
    case BoxAnswer::Ok:
      return "ok";
    case BoxAnswer::Cancel:
      return "cancel";
    case BoxAnswer::Retry:
      return "retry";
    case BoxAnswer::Yes:
      return "yes";
    case BoxAnswer::No:
      return "no";
  }
  return "ok";
}

BoxAnswer DefaultAnswer(BoxButtons buttons) {
  return Choices(buttons).front().second;
}

BoxAnswer PresentOnTerminalOrByDefault(const MessageBoxRequest& request) {
  std::cerr << "\n[" << request.caption << "] (" << IconName(request.icon) << ")\n" << request.text << "\n";
  if (!StandardInputIsTerminal()) {
    std::cerr << "-> " << AnswerName(DefaultAnswer(request.buttons)) << " (no terminal)\n";
    return DefaultAnswer(request.buttons);
  }
  const auto choices = Choices(request.buttons);
  for (;;) {
    std::cerr << ButtonsName(request.buttons) << " [";
    for (std::size_t i = 0; i < choices.size(); ++i) std::cerr << (i ? "/" : "") << choices[i].first;
    std::cerr << "]? ";
    std::string line;
    if (!std::getline(std::cin, line)) return DefaultAnswer(request.buttons);
    for (const auto& [key, answer] : choices) {
      // The keys are lower-case basic Latin letters; the person may type them in either case.
      if (!line.empty() && (line[0] == key || line[0] == key - ('a' - 'A'))) return answer;
    }
    if (line.empty()) return DefaultAnswer(request.buttons);
  }
}

BoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
  Presenter presenter;
  {
    std::lock_guard lock(presenterMutex);
    presenter = CurrentPresenter();
  }
  return presenter ? presenter(request) : PresentOnTerminalOrByDefault(request);
}

Presenter SetPresenter(Presenter presenter) {
  std::lock_guard lock(presenterMutex);
  Presenter previous = std::move(CurrentPresenter());
  CurrentPresenter() = std::move(presenter);
  return previous;
}

ScriptedPresenter::ScriptedPresenter(std::vector<BoxAnswer> answers) : state_(std::make_shared<State>()) {
  state_->answers = std::move(answers);
  std::shared_ptr<State> state = state_;
  previous_ = SetPresenter([state](const MessageBoxRequest& request) {
    std::lock_guard lock(state->mutex);
    state->shown.push_back(request);
    const BoxAnswer answer =
        state->next < state->answers.size() ? state->answers[state->next++] : DefaultAnswer(request.buttons);
    state->answered.push_back(answer);
    return answer;
  });
}

ScriptedPresenter::~ScriptedPresenter() {
  SetPresenter(std::move(previous_));
}

std::vector<MessageBoxRequest> ScriptedPresenter::shown() const {
  std::lock_guard lock(state_->mutex);
  return state_->shown;
}

std::vector<BoxAnswer> ScriptedPresenter::answered() const {
  std::lock_guard lock(state_->mutex);
  return state_->answered;
}

} // namespace grx::platform
