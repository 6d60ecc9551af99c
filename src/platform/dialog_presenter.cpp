#include "platform/dialog_presenter.h"

#include <algorithm>
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

} // namespace

std::vector<BoxChoice> BoxChoices(BoxButtons buttons) {
  constexpr BoxChoice ok{'o', BoxAnswer::Ok, "OK"}, cancel{'c', BoxAnswer::Cancel, "Cancel"},
      yes{'y', BoxAnswer::Yes, "Yes"}, no{'n', BoxAnswer::No, "No"}, retry{'r', BoxAnswer::Retry, "Retry"};
  switch (buttons) {
    case BoxButtons::Ok:
      return {ok};
    case BoxButtons::OkCancel:
      return {ok, cancel};
    case BoxButtons::YesNo:
      return {yes, no};
    case BoxButtons::YesNoCancel:
      return {yes, no, cancel};
    case BoxButtons::RetryCancel:
      return {retry, cancel};
  }
  return {ok};
}

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
  return BoxChoices(buttons).front().answer;
}

namespace {

std::mutex progressMutex;
ProgressPresenter& CurrentProgressPresenter() {
  static ProgressPresenter presenter;
  return presenter;
}

} // namespace

ProgressPresenter SetProgressPresenter(ProgressPresenter presenter) {
  std::lock_guard lock(progressMutex);
  ProgressPresenter previous = std::move(CurrentProgressPresenter());
  CurrentProgressPresenter() = std::move(presenter);
  return previous;
}

ProgressPresenter InstalledProgressPresenter() {
  std::lock_guard lock(progressMutex);
  return CurrentProgressPresenter();
}

Presenter InstalledPresenter() {
  std::lock_guard lock(presenterMutex);
  return CurrentPresenter();
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
