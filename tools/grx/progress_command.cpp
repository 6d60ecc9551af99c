// grx progress: the library's progress dialog through a number of steps, on the terminal a bar
// redrawn in place; a line typed on the terminal presses Cancel.
#include <nlohmann/json.hpp>

#include <chrono>
#include <string>
#include <thread>

#include "commands.h"
#include "foundation/dlg_progress.h"
#include "grx_error.h"
#include "platform/window_handles.h"
#include "terminal_text.h"

namespace grx::cli {

int RunProgress(const Options& options, const ProgressRun& run, std::ostream& out) {
  platform::WindowHandle owner = platform::kNoWindow;
  for (const std::string& title : options.windows) owner = platform::CreateWindowHandle(title, owner);
  ZEB::CDlgProgress dialog(owner, run.title.c_str(), run.text.c_str());
  dialog.Create();
  dialog.SetRange(0, run.steps);
  int done = 0;
  for (; done < run.steps && !dialog.IsCancelled(); ++done) {
    std::this_thread::sleep_for(std::chrono::milliseconds(run.delayMs));
    dialog.SetPos(done + 1);
    dialog.PumpMessages();
  }
  const bool cancelled = dialog.IsCancelled();
  dialog.Close_i();
  if (options.json) {
    out << JsonText(nlohmann::ordered_json{{"steps", run.steps}, {"done", done}, {"cancelled", cancelled}}) << "\n";
  } else {
    out << (cancelled ? "cancelled after " : "done: ") << done << " of " << run.steps << " steps\n";
  }
  return cancelled ? kExitNo : kExitOk;
}

} // namespace grx::cli
