// Window messages: each window's procedure, the message queue of the thread that created it,
// and the application's message loop steps (CWinApp::PumpMessage and OnIdle of a Win32 build).
#pragma once

#include <cstdint>
#include <functional>

#include "grx/window_handle.h"

namespace grx::platform {

inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uintptr_t IDOK = 1;
inline constexpr std::uintptr_t IDCANCEL = 2;

struct WindowMessage {
  WindowHandle window = kNoWindow;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
};
using WindowProcedure = std::function<void(const WindowMessage&)>;

// The procedure that receives the messages dispatched to a window (empty: none).
void SetWindowProcedure(WindowHandle window, WindowProcedure procedure);
// Queues a message for the thread that created the window; false when there is no such window.
bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam = 0);
// Queues WM_QUIT for the calling thread.
void PostQuitMessage();
// Whether the calling thread's queue holds a message (PeekMessage without removing it).
bool PeekWindowMessage();
// Takes the calling thread's next message; false when the queue is empty.
bool TakeWindowMessage(WindowMessage& message);
// Hands a message to its window's procedure (nothing for a window without one).
void DispatchWindowMessage(const WindowMessage& message);

// The application's message loop steps.
class MessageLoop {
public:
  virtual ~MessageLoop() = default;
  // Takes and dispatches the calling thread's next message; false for WM_QUIT (or none waiting).
  virtual bool PumpMessage();
  // Idle work of the application; true while more is left (count: calls since the last message).
  virtual bool OnIdle(long count);
};
// The process's application loop (a default one when none is installed); installing null
// restores the default. Returns the previous one (null for the default).
MessageLoop& ApplicationMessageLoop();
MessageLoop* SetApplicationMessageLoop(MessageLoop* loop);

} // namespace grx::platform
