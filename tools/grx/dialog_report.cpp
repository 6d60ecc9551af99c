#include "dialog_report.h"

#include "grx_error.h"

namespace grx::cli {

platform::BoxAnswer ParseAnswer(const std::string& text) {
  for (auto answer : {platform::BoxAnswer::Ok, platform::BoxAnswer::Cancel, platform::BoxAnswer::Retry,
                      platform::BoxAnswer::Yes, platform::BoxAnswer::No}) {
    if (text == platform::AnswerName(answer)) return answer;
  }
  throw GrxError("--answer takes ok, cancel, retry, yes or no, not \"" + text + "\"", kExitUsage);
}

std::unique_ptr<platform::ScriptedPresenter> ScriptedAnswers(const Options& options) {
  if (options.answers.empty()) return nullptr;
  std::vector<platform::BoxAnswer> answers;
  for (const std::string& a : options.answers) answers.push_back(ParseAnswer(a));
  return std::make_unique<platform::ScriptedPresenter>(answers);
}

nlohmann::ordered_json DialogsJson(const platform::ScriptedPresenter* boxes) {
  nlohmann::ordered_json dialogs = nlohmann::ordered_json::array();
  if (!boxes) return dialogs;
  const auto shown = boxes->shown();
  const auto given = boxes->answered();
  for (std::size_t i = 0; i < shown.size(); ++i) {
    nlohmann::ordered_json dialog{{"caption", shown[i].caption}, {"text", shown[i].text}};
    if (!shown[i].secondText.empty()) dialog["text2"] = shown[i].secondText;
    dialog["icon"] = platform::IconName(shown[i].icon);
    dialog["buttons"] = platform::ButtonsName(shown[i].buttons);
    if (shown[i].helpContext) dialog["helpContext"] = shown[i].helpContext;
    dialog["answer"] = platform::AnswerName(given[i]);
    dialogs.push_back(dialog);
  }
  return dialogs;
}

void PrintDialogs(const nlohmann::ordered_json& dialogs, std::ostream& out) {
  for (const auto& d : dialogs) {
    out << "dialog [" << d["caption"].get<std::string>() << "] (" << d["icon"].get<std::string>() << ", "
        << d["buttons"].get<std::string>() << ") -> " << d["answer"].get<std::string>() << "\n  "
        << d["text"].get<std::string>() << "\n";
    if (d.contains("text2")) out << "  " << d["text2"].get<std::string>() << "\n";
  }
}

platform::WindowHandle BuildWindows(const Options& options) {
  platform::WindowHandle window = platform::kNoWindow;
  for (const std::string& title : options.windows) window = platform::CreateWindowHandle(title, window);
  return window;
}

} // namespace grx::cli
