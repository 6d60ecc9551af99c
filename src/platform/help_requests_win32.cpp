// The WinHelp viewer's window on Win32: the class "MS_WINHELP" that WinHelpA looks for, on a thread
// with its own message loop. A request comes as WM_COPYDATA tagged with the viewer protocol's
// number, holding the size, command, data, a reserved word and the offsets of the file name and of
// extra data, the file name behind them.
#include "platform/help_requests.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

// After the platform's headers: windows.h defines macros that clash with their names.
#include <windows.h>

namespace grx::platform {
namespace {

constexpr ULONG_PTR kHelpRequestTag = 0xA1DE505;
constexpr const char* kViewerClass = "MS_WINHELP";

#pragma pack(push, 1)
struct RequestHead {
  WORD size;
  WORD command;
  LONG data;
  LONG reserved;
  WORD fileOffset;
  WORD dataOffset;
};
#pragma pack(pop)

} // namespace

struct HelpRequestListener::State {
  mutable std::mutex mutex;
  std::condition_variable opened;
  bool ready = false;
  HWND window = nullptr;
  DWORD threadId = 0;
  std::vector<HelpRequest> requests;
  std::thread thread;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COPYDATA && state) {
      const auto* copied = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (copied->dwData != kHelpRequestTag || copied->cbData < sizeof(RequestHead)) return FALSE;
      RequestHead head;
      std::memcpy(&head, copied->lpData, sizeof head);
      HelpRequest request;
      request.command = head.command;
      request.data = static_cast<std::uint32_t>(head.data);
      const char* bytes = static_cast<const char*>(copied->lpData);
      if (head.fileOffset >= sizeof(RequestHead) && head.fileOffset < copied->cbData) {
        request.file.assign(bytes + head.fileOffset,
                            strnlen(bytes + head.fileOffset, copied->cbData - head.fileOffset));
      }
      const bool exists = !request.file.empty() && GetFileAttributesA(request.file.c_str()) != INVALID_FILE_ATTRIBUTES;
      std::lock_guard<std::mutex> lock(state->mutex);
      state->requests.push_back(request);
      return exists ? TRUE : FALSE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  void Run() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kViewerClass;
    RegisterClassA(&windowClass); // may be registered already by an earlier listener
    HWND created = CreateWindowA(kViewerClass, "help viewer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 windowClass.hInstance, this);
    {
      std::lock_guard<std::mutex> lock(mutex);
      window = created;
      threadId = GetCurrentThreadId();
      ready = true;
    }
    opened.notify_all();
    if (!created) return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    DestroyWindow(created);
  }
};

HelpRequestListener::HelpRequestListener() : state_(std::make_unique<State>()) {
  state_->thread = std::thread([state = state_.get()] { state->Run(); });
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->opened.wait(lock, [&] { return state_->ready; });
}

HelpRequestListener::~HelpRequestListener() {
  PostThreadMessageA(state_->threadId, WM_QUIT, 0, 0);
  state_->thread.join();
}

bool HelpRequestListener::Listening() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->window != nullptr;
}

WindowHandle HelpRequestListener::Window() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return reinterpret_cast<WindowHandle>(state_->window);
}

std::vector<HelpRequest> HelpRequestListener::Requests() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->requests;
}

} // namespace grx::platform
