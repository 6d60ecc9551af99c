#include "foundation/dlg_progress.h"

#include <exception>

#include "foundation/exceptions.h"
#include "foundation/object_trace.h"
#include "foundation/resource_text.h"
#include "platform/module_state.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace ZEB {
namespace {

constexpr const char* kSource = "DlgProgress";

// Resources come from the module state's resource module; a caller may name it or leave it out,
// but no other module is supported.
void RequireDefaultModule(void* hInstance) {
  if (hInstance != nullptr && hInstance != grx::platform::CurrentModuleState()->resourceHandle) {
    throw CInvalidArgException("<hInstance> != NULL not yet supported.", kSource, __LINE__);
  }
}

void SetLines(grx::platform::ProgressState& state, const std::string& message) {
  const std::vector<std::string> parts = MessageParts(message);
  state.text = parts.size() > 0 ? parts[0] : std::string();
  state.secondText = parts.size() > 1 ? parts[1] : std::string();
}

} // namespace

CDlgProgress::CDlgProgress(grx::platform::WindowHandle owner, std::uint32_t nIdTitle, std::uint32_t nIdMsg,
                           void* hInstance) {
  if (nIdTitle == 0) throw CInvalidArgException("<nIdTitle> has no valid ID.", kSource, __LINE__);
  if (nIdMsg == 0) throw CInvalidArgException("<nIdMsg> has no valid ID.", kSource, __LINE__);
  RequireDefaultModule(hInstance);
  m_state.owner = owner;
  m_state.caption = ResourceString(nIdTitle).value_or("no Resource");
  SetLines(m_state, ResourceString(nIdMsg).value_or("No Resources available"));
}

CDlgProgress::CDlgProgress(grx::platform::WindowHandle owner, const char* lpszTitle, const char* lpszMsg,
                           void* hInstance) {
  if (!lpszTitle) throw CInvalidArgException("<lpszTitle> = NULL.", kSource, __LINE__);
  if (!lpszMsg) throw CInvalidArgException("<lpszMsg> = NULL.", kSource, __LINE__);
  RequireDefaultModule(hInstance);
  m_state.owner = owner;
  m_state.caption = lpszTitle;
  SetLines(m_state, lpszMsg);
}

CDlgProgress::~CDlgProgress() {
  Close_i();
}

void CDlgProgress::Create() {
  if (IsOpen()) return;
  if (m_state.owner != grx::platform::kNoWindow) {
    grx::platform::EnableWindowHandle(m_state.owner, false);
    m_ownerDisabled = true;
  }
  m_bCancelled = false;
  m_state.window = grx::platform::CreateWindowHandle(m_state.caption, m_state.owner);
  grx::platform::SetWindowProcedure(m_state.window, [this](const grx::platform::WindowMessage& message) {
    if (message.message == grx::platform::WM_COMMAND && message.wParam == grx::platform::IDCANCEL) OnCancel();
  });
  bool opened = false;
  try {
    opened = grx::platform::OpenProgress(m_state);
  } catch (...) {
    opened = false;
  }
  if (!opened) {
    grx::platform::DestroyWindowHandle(m_state.window);
    m_state.window = grx::platform::kNoWindow;
    if (m_ownerDisabled) grx::platform::EnableWindowHandle(m_state.owner, true);
    m_ownerDisabled = false;
    throw CUnexpectedException("The progress dialog cannot be created.", kSource, __LINE__);
  }
}

void CDlgProgress::SetRange(int lower, int upper) {
  m_state.lower = lower;
  m_state.upper = upper;
  Update();
}

void CDlgProgress::SetPos(int position) {
  m_state.position = position;
  Update();
}

void CDlgProgress::SetText(const std::string& text, const std::string& secondText) {
  m_state.text = text;
  m_state.secondText = secondText;
  Update();
}

void CDlgProgress::EnableCancel(bool enable) {
  m_state.cancelEnabled = enable;
  Update();
}

void CDlgProgress::OnCancel() {
  if (m_state.cancelEnabled) m_bCancelled = true; // a disabled button cannot be pressed
}

void CDlgProgress::Update() {
  if (IsOpen()) grx::platform::UpdateProgress(m_state);
}

void CDlgProgress::PumpMessages() {
  Update(); // lets the presenter take what the person did
  grx::platform::MessageLoop& loop = grx::platform::ApplicationMessageLoop();
  while (grx::platform::PeekWindowMessage()) {
    if (!loop.PumpMessage()) {
      throw CUnexpectedException("AfxGetApp()->PumpMessage returned false.", kSource, __LINE__);
    }
  }
  for (long count = 0; loop.OnIdle(count); ++count) {
  }
}

void CDlgProgress::Close_i() {
  if (!IsOpen()) return;
  const grx::platform::ProgressState closing = m_state;
  m_state.window = grx::platform::kNoWindow;
  try {
    if (m_ownerDisabled) grx::platform::EnableWindowHandle(closing.owner, true);
    m_ownerDisabled = false;
    grx::platform::SetWindowProcedure(closing.window, {});
    grx::platform::DestroyWindowHandle(closing.window);
    grx::platform::CloseProgress(closing);
  } catch (...) {
    try {
      CObject::Trace(3, "CDlgProgress::Close_i", "Unexpected exception occured.");
    } catch (...) {
    }
  }
}

} // namespace ZEB
