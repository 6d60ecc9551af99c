// Message boxes of a grx command: answered from --answer in advance, and reported afterwards as
// grx call reports them ("dialogs": caption, texts, icon, buttons, answer).
#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <ostream>

#include "commands.h"
#include "platform/dialog_presenter.h"
#include "platform/window_handles.h"

namespace grx::cli {

platform::BoxAnswer ParseAnswer(const std::string& text);
// The answers of --answer as a presenter that takes them in order; null without --answer (boxes
// are then drawn on the terminal, or take their first button without one).
std::unique_ptr<platform::ScriptedPresenter> ScriptedAnswers(const Options& options);
// The boxes the presenter showed with their answers (an empty list without one).
nlohmann::ordered_json DialogsJson(const platform::ScriptedPresenter* boxes);
void PrintDialogs(const nlohmann::ordered_json& dialogs, std::ostream& out);
// The --window chain: the first title a top-level window, each further one a child of the one
// before; kNoWindow without titles.
platform::WindowHandle BuildWindows(const Options& options);

} // namespace grx::cli
