#include "platform/dialog_presenter.h"
#include "platform/process.h"

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

// A button of a box: the key that answers it on a terminal, its answer and its standard label.
struct Choice {
  char key;
  BoxAnswer answer;
  const char* label;
};

std::vector<Choice> Choices(BoxButtons buttons) {
  constexpr Choice ok{'o', BoxAnswer::Ok, "OK"}, cancel{'c', BoxAnswer::Cancel, "Cancel"},
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
  return Choices(buttons).front().answer;
}

namespace {

// A button label without its accelerator mark ("&Yes" -> "Yes").
std::string Unmarked(const std::string& label) {
  std::string text;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '&' && i + 1 < label.size() && label[i + 1] != '&') continue;
    text += label[i];
  }
  return text;
}

// Splits a text into lines of at most width characters, at blanks where it can.
std::vector<std::string> Wrapped(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = std::min(text.size(), start + width);
    const std::size_t newline = text.find_first_of("\r\n", start);
    if (newline != std::string::npos && newline < end) {
      lines.push_back(text.substr(start, newline - start));
      start = newline + 1;
      continue;
    }
    if (end < text.size()) {
      const std::size_t blank = text.rfind(' ', end);
      if (blank != std::string::npos && blank > start) end = blank;
    }
    lines.push_back(text.substr(start, end - start));
    start = end;
    while (start < text.size() && text[start] == ' ') ++start;
  }
  return lines;
}

// Draws the box in a frame: caption, icon word, the texts, and the buttons numbered.
void DrawBox(const MessageBoxRequest& request, const std::vector<Choice>& choices, std::ostream& out) {
  constexpr std::size_t kWidth = 64;
  std::vector<std::string> body{std::string("[") + IconName(request.icon) + "]"};
  for (const std::string* text : {&request.text, &request.secondText}) {
    if (text->empty()) continue;
    for (const std::string& line : Wrapped(*text, kWidth)) body.push_back(line);
  }
  std::string buttons;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    const std::string label = i < request.buttonLabels.size() && !request.buttonLabels[i].empty()
                                  ? Unmarked(request.buttonLabels[i])
                                  : choices[i].label;
    buttons += (i ? "   " : "") + std::to_string(i + 1) + " " + label;
  }
  if (request.helpContext) buttons += "   ? Help";
  body.push_back("");
  body.push_back(buttons);
  std::string caption = request.caption.substr(0, kWidth - 2);
  out << "\n+- " << caption << " " << std::string(kWidth - caption.size(), '-') << "+\n";
  for (const std::string& line : body) {
    out << "| " << line << std::string(kWidth + 1 - std::min(line.size(), kWidth + 1), ' ') << " |\n";
  }
  out << "+" << std::string(kWidth + 3, '-') << "+\n";
}

} // namespace

BoxAnswer PresentOnTerminalOrByDefault(const MessageBoxRequest& request) {
  const auto choices = Choices(request.buttons);
  DrawBox(request, choices, std::cerr);
  if (!StandardInputIsTerminal()) {
    std::cerr << "-> " << AnswerName(DefaultAnswer(request.buttons)) << " (no terminal)\n";
    return DefaultAnswer(request.buttons);
  }
  for (;;) {
    std::cerr << ButtonsName(request.buttons) << " [1-" << choices.size() << " or ";
    for (std::size_t i = 0; i < choices.size(); ++i) std::cerr << (i ? "/" : "") << choices[i].key;
    std::cerr << (request.helpContext && request.onHelp ? ", ? for help" : "") << "]? ";
    std::string line;
    if (!std::getline(std::cin, line)) return DefaultAnswer(request.buttons);
    if (line.empty()) return DefaultAnswer(request.buttons);
    if (line[0] == '?' && request.helpContext && request.onHelp) {
      request.onHelp(); // the box stays open
      continue;
    }
    if (line[0] >= '1' && static_cast<std::size_t>(line[0] - '0') <= choices.size()) {
      return choices[static_cast<std::size_t>(line[0] - '1')].answer;
    }
    for (const Choice& c : choices) {
      // The keys are lower-case basic Latin letters; the person may type them in either case.
      if (line[0] == c.key || line[0] == c.key - ('a' - 'A')) return c.answer;
    }
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
