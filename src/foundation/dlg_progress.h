// The library's modeless progress dialog: a caption, two text lines, a bar and Cancel. While it
// is open its owner takes no input; the caller pumps the thread's messages through it and polls
// whether Cancel was pressed. The platform's progress presenter shows it.
#pragma once

#include <cstdint>
#include <string>

#include "grx/window_handle.h"
#include "platform/dialog_presenter.h"

namespace ZEB {

class CDlgProgress {
public:
  // Caption from the title resource ("no Resource" when missing), the two lines from the
  // carriage-return parts of the message resource. Identifiers 0 and a resource module other
  // than the current one (hInstance) are refused with CInvalidArgException.
  CDlgProgress(grx::platform::WindowHandle owner, std::uint32_t nIdTitle, std::uint32_t nIdMsg,
               void* hInstance = nullptr);
  // Caption and message as given (the message's carriage-return parts are the two lines); null
  // texts are refused.
  CDlgProgress(grx::platform::WindowHandle owner, const char* lpszTitle, const char* lpszMsg,
               void* hInstance = nullptr);
  CDlgProgress(const CDlgProgress&) = delete;
  CDlgProgress& operator=(const CDlgProgress&) = delete;
  // Closes the dialog when it is still open.
  virtual ~CDlgProgress();

  // Disables the owner and creates the dialog; CUnexpectedException when it cannot be created
  // (the owner is enabled again then).
  void Create();
  bool IsOpen() const { return m_state.window != grx::platform::kNoWindow; }
  grx::platform::WindowHandle GetSafeHwnd() const { return m_state.window; }

  void SetRange(int lower, int upper);
  void SetPos(int position);
  void SetText(const std::string& text, const std::string& secondText);
  const grx::platform::ProgressState& State() const { return m_state; }

  // Whether Cancel can be pressed; pressing it sets the cancelled flag.
  void EnableCancel(bool enable);
  bool IsCancelEnabled() const { return m_state.cancelEnabled; }
  bool IsCancelled() const { return m_bCancelled; }
  void OnCancel();

  // Dispatches every waiting message of the thread through the application's message pump
  // (CUnexpectedException when the pump answers false), then runs idle processing until it
  // reports no more work.
  void PumpMessages();

  // Enables the owner again and destroys the dialog; what goes wrong on the way is traced at
  // level 3, never thrown.
  void Close_i();

private:
  void Update();

  grx::platform::ProgressState m_state;
  bool m_bCancelled = false;
  bool m_ownerDisabled = false;
};

} // namespace ZEB
