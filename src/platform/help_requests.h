// A stand-in of the WinHelp viewer for tests: a window of the class "MS_WINHELP" that takes the
// requests WinHelpA hands to the running viewer (the file, the command and the context, sent as
// WM_COPYDATA), records them, and answers whether the file exists, as a viewer that opens it
// would. Where WinHelpA has no such viewer protocol (outside a Win32 build) there is none.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grx/window_handle.h"

namespace grx::platform {

struct HelpRequest {
  std::string file;
  std::uint32_t command = 0;
  std::uint32_t data = 0;
};

class HelpRequestListener {
public:
  // Opens the window on a thread of its own; Listening() tells whether that worked.
  HelpRequestListener();
  ~HelpRequestListener();
  HelpRequestListener(const HelpRequestListener&) = delete;
  HelpRequestListener& operator=(const HelpRequestListener&) = delete;

  bool Listening() const;
  // The viewer's window, a window of the system (kNoWindow when none could be opened).
  WindowHandle Window() const;
  // The requests received so far, in order.
  std::vector<HelpRequest> Requests() const;

private:
  struct State;
  std::unique_ptr<State> state_;
};

} // namespace grx::platform
