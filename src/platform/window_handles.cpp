// Windows of the process: titles, parents, input state, procedures, and the message queue of
// each thread that created windows. A handle that names none of these may name a window of the
// OS, handed over by a host: its title, parent and input state are the OS's.
#include "platform/window_handles.h"

#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "platform/system_windows.h"
#include "platform/window_messages.h"

namespace grx::platform {
namespace {

struct Window {
  std::string title;
  WindowHandle parent = kNoWindow;
  bool enabled = true;
  std::thread::id thread;
  WindowProcedure procedure;
};

// The library's own handles lie far above the handles the OS gives its windows in a session, so
// that the two do not meet; one the library gave out stays its own after it is destroyed.
constexpr WindowHandle kDesktop = 0x7FFE0000;
constexpr WindowHandle kFirstOwn = kDesktop + 0x10;

struct Registry {
  std::mutex mutex;
  std::map<WindowHandle, Window> windows;
  std::map<std::thread::id, std::deque<WindowMessage>> queues;
  WindowHandle next = kFirstOwn;
  MessageLoop* loop = nullptr;
};

Registry& Windows() {
  static Registry registry;
  return registry;
}

// Whether the handle is one the library gave out (or its desktop), alive or not. Called locked.
bool GivenOut(const Registry& r, WindowHandle window) {
  return window == kDesktop || (window >= kFirstOwn && window < r.next && (window - kFirstOwn) % 4 == 0);
}

} // namespace

WindowHandle DesktopWindow() {
  return kDesktop;
}

WindowHandle CreateWindowHandle(const std::string& title, WindowHandle parent) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const WindowHandle handle = r.next;
  r.next += 4;
  r.windows[handle] = Window{title, parent, true, std::this_thread::get_id(), {}};
  return handle;
}

void DestroyWindowHandle(WindowHandle window) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  r.windows.erase(window);
}

bool IsWindowHandle(WindowHandle window) {
  {
    Registry& r = Windows();
    std::lock_guard lock(r.mutex);
    if (window == kDesktop || r.windows.count(window) != 0) return true;
    if (GivenOut(r, window)) return false;
  }
  return system::IsSystemWindow(window);
}

WindowHandle ParentWindow(WindowHandle window) {
  {
    Registry& r = Windows();
    std::lock_guard lock(r.mutex);
    const auto it = r.windows.find(window);
    if (it != r.windows.end()) return it->second.parent;
    if (GivenOut(r, window)) return kNoWindow;
  }
  return system::SystemParentWindow(window);
}

bool EnableWindowHandle(WindowHandle window, bool enable) {
  {
    Registry& r = Windows();
    std::lock_guard lock(r.mutex);
    const auto it = r.windows.find(window);
    if (it != r.windows.end()) {
      const bool wasDisabled = !it->second.enabled;
      it->second.enabled = enable;
      return wasDisabled;
    }
    if (GivenOut(r, window)) return false;
  }
  return system::EnableSystemWindow(window, enable);
}

bool IsWindowHandleEnabled(WindowHandle window) {
  {
    Registry& r = Windows();
    std::lock_guard lock(r.mutex);
    if (window == kDesktop) return true;
    const auto it = r.windows.find(window);
    if (it != r.windows.end()) return it->second.enabled;
    if (GivenOut(r, window)) return false;
  }
  return system::IsSystemWindowEnabled(window);
}

std::optional<std::string> WindowTitle(WindowHandle window, std::size_t maxLength) {
  {
    Registry& r = Windows();
    std::lock_guard lock(r.mutex);
    if (window == kDesktop) return std::string();
    const auto it = r.windows.find(window);
    if (it != r.windows.end()) return it->second.title.substr(0, maxLength);
    if (GivenOut(r, window)) return std::nullopt;
  }
  return system::SystemWindowTitle(window, maxLength);
}

void SetWindowProcedure(WindowHandle window, WindowProcedure procedure) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const auto it = r.windows.find(window);
  if (it != r.windows.end()) it->second.procedure = std::move(procedure);
}

bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const auto it = r.windows.find(window);
  if (it == r.windows.end()) return false;
  r.queues[it->second.thread].push_back(WindowMessage{window, message, wParam});
  return true;
}

void PostQuitMessage() {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  r.queues[std::this_thread::get_id()].push_back(WindowMessage{kNoWindow, WM_QUIT, 0});
}

bool PeekWindowMessage() {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const auto it = r.queues.find(std::this_thread::get_id());
  return it != r.queues.end() && !it->second.empty();
}

bool TakeWindowMessage(WindowMessage& message) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const auto it = r.queues.find(std::this_thread::get_id());
  if (it == r.queues.end() || it->second.empty()) return false;
  message = it->second.front();
  it->second.pop_front();
  if (it->second.empty()) r.queues.erase(it);
  return true;
}

void DispatchWindowMessage(const WindowMessage& message) {
  WindowProcedure procedure;
  {
    Registry& r = Windows();
    std::lock_guard lock(r.mutex);
    const auto it = r.windows.find(message.window);
    if (it == r.windows.end()) return;
    procedure = it->second.procedure;
  }
  if (procedure) procedure(message); // outside the lock: a procedure may create or post
}

bool MessageLoop::PumpMessage() {
  WindowMessage message;
  if (!TakeWindowMessage(message) || message.message == WM_QUIT) return false;
  DispatchWindowMessage(message);
  return true;
}

bool MessageLoop::OnIdle(long) {
  return false;
}

MessageLoop& ApplicationMessageLoop() {
  static MessageLoop standard;
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  return r.loop ? *r.loop : standard;
}

MessageLoop* SetApplicationMessageLoop(MessageLoop* loop) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  MessageLoop* previous = r.loop;
  r.loop = loop;
  return previous;
}

} // namespace grx::platform
