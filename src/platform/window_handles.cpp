#include "platform/window_handles.h"

#include <map>
#include <mutex>

namespace grx::platform {
namespace {

struct Window {
  std::string title;
  WindowHandle parent = kNoWindow;
};

struct Registry {
  std::mutex mutex;
  std::map<WindowHandle, Window> windows;
  WindowHandle next = 0x10010;
};

Registry& Windows() {
  static Registry registry;
  return registry;
}

constexpr WindowHandle kDesktop = 0x10000;

} // namespace

WindowHandle DesktopWindow() {
  return kDesktop;
}

WindowHandle CreateWindowHandle(const std::string& title, WindowHandle parent) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const WindowHandle handle = r.next;
  r.next += 4;
  r.windows[handle] = Window{title, parent};
  return handle;
}

void DestroyWindowHandle(WindowHandle window) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  r.windows.erase(window);
}

bool IsWindowHandle(WindowHandle window) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  return window == kDesktop || r.windows.count(window) != 0;
}

WindowHandle ParentWindow(WindowHandle window) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  const auto it = r.windows.find(window);
  return it == r.windows.end() ? kNoWindow : it->second.parent;
}

std::optional<std::string> WindowTitle(WindowHandle window, std::size_t maxLength) {
  Registry& r = Windows();
  std::lock_guard lock(r.mutex);
  if (window == kDesktop) return std::string();
  const auto it = r.windows.find(window);
  if (it == r.windows.end()) return std::nullopt;
  return it->second.title.substr(0, maxLength);
}

} // namespace grx::platform
