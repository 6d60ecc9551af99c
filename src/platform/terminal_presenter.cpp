// The terminal's presenters: the message box drawn in a frame with numbered buttons and read from
// standard input (where no desktop shows it), and the progress dialog drawn as a bar that is redrawn in place. The
// texts are in the ANSI code page and reach the terminal in UTF-8.
#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/desktop_box.h"
#include "platform/dialog_presenter.h"
#include "platform/process.h"
#include "platform/window_messages.h"

namespace grx::platform {
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
void DrawBox(const MessageBoxRequest& request, const std::vector<BoxChoice>& choices, std::ostream& out) {
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
  out << "\n+- " << AnsiToUtf8(caption) << " " << std::string(kWidth - caption.size(), '-') << "+\n";
  for (const std::string& line : body) {
    out << "| " << AnsiToUtf8(line) << std::string(kWidth + 1 - std::min(line.size(), kWidth + 1), ' ') << " |\n";
  }
  out << "+" << std::string(kWidth + 3, '-') << "+\n";
}

} // namespace

BoxAnswer PresentOnTerminalOrByDefault(const MessageBoxRequest& request) {
  const auto choices = BoxChoices(request.buttons);
  std::ostringstream box;
  DrawBox(request, choices, box);
  if (!StandardInputIsTerminal()) {
    WriteStandardError(box.str() + "-> " + AnswerName(DefaultAnswer(request.buttons)) + " (no terminal)\n");
    return DefaultAnswer(request.buttons);
  }
  WriteStandardError(box.str());
  for (;;) {
    std::ostringstream prompt;
    prompt << ButtonsName(request.buttons) << " [1-" << choices.size() << " or ";
    for (std::size_t i = 0; i < choices.size(); ++i) prompt << (i ? "/" : "") << choices[i].key;
    prompt << (request.helpContext && request.onHelp ? ", ? for help" : "") << "]? ";
    WriteStandardError(prompt.str());
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
    for (const BoxChoice& c : choices) {
      // The keys are lower-case basic Latin letters; the person may type them in either case.
      if (line[0] == c.key || line[0] == c.key - ('a' - 'A')) return c.answer;
    }
  }
}

BoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
  const Presenter presenter = InstalledPresenter();
  if (presenter) return presenter(request);
  return DesktopBoxesShown() ? ShowDesktopMessageBox(request) : PresentOnTerminalOrByDefault(request);
}

namespace {

constexpr int kBarWidth = 40;

} // namespace

std::string ProgressBarLine(const ProgressState& state) {
  const int span = state.upper > state.lower ? state.upper - state.lower : 1;
  const int position = std::clamp(state.position, state.lower, state.upper > state.lower ? state.upper : state.lower);
  const int percent = (position - state.lower) * 100 / span;
  const int filled = percent * kBarWidth / 100;
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " +
         (percent < 10    ? "  "
          : percent < 100 ? " "
                          : "") +
         std::to_string(percent) + " %" +
         (state.cancelEnabled && StandardInputIsTerminal() ? "   Enter: Cancel" : "                ");
}

namespace {

// A line typed while the bar is shown presses Cancel, when it can be pressed.
void TakeTypedCancel(const ProgressState& state) {
  if (!StandardInputIsTerminal() || !TypedLineWaiting()) return;
  std::string line;
  if (std::getline(std::cin, line) && state.cancelEnabled) PostWindowMessage(state.window, WM_COMMAND, IDCANCEL);
}

bool OpenOnTerminal(const ProgressState& state) {
  if (!StandardErrorIsTerminal()) return true;
  std::string text = "\n" + AnsiToUtf8(state.caption) + "\n";
  for (const std::string* line : {&state.text, &state.secondText}) {
    if (!line->empty()) text += "  " + AnsiToUtf8(*line) + "\n";
  }
  WriteStandardError(text + ProgressBarLine(state));
  return true;
}

void UpdateOnTerminal(const ProgressState& state) {
  if (!StandardErrorIsTerminal()) return;
  WriteStandardError("\r" + ProgressBarLine(state));
  TakeTypedCancel(state);
}

void CloseOnTerminal(const ProgressState&) {
  if (StandardErrorIsTerminal()) WriteStandardError("\n");
}

} // namespace

bool OpenProgress(const ProgressState& state) {
  const ProgressPresenter presenter = InstalledProgressPresenter();
  return presenter.open ? presenter.open(state) : OpenOnTerminal(state);
}

void UpdateProgress(const ProgressState& state) {
  const ProgressPresenter presenter = InstalledProgressPresenter();
  presenter.update ? presenter.update(state) : UpdateOnTerminal(state);
}

void CloseProgress(const ProgressState& state) {
  const ProgressPresenter presenter = InstalledProgressPresenter();
  presenter.close ? presenter.close(state) : CloseOnTerminal(state);
}

} // namespace grx::platform
