// The exported message boxes: one dialog per call, modal, destroyed before the answer returns.
#include "foundation/cfc_message_box.h"
#include "app/export_bodies.h"

namespace grx::body {

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t messageId, std::uint32_t style,
                std::uint32_t buttons) {
  return ZEB::CDlgCfcMessageBox(window, messageId, style, buttons).DoModal();
}

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t title, CString text, std::uint32_t style,
                std::uint32_t buttons) {
  return ZEB::CDlgCfcMessageBox(window, title, text.str(), std::string(), style, buttons).DoModal();
}

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t title, CString text, CString text2,
                std::uint32_t style, std::uint32_t buttons) {
  return ZEB::CDlgCfcMessageBox(window, title, text.str(), text2.str(), style, buttons).DoModal();
}

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t messageId, const std::vector<std::string>& args,
                std::uint32_t style, std::uint32_t buttons) {
  return ZEB::CDlgCfcMessageBox(window, messageId, style, buttons, &args).DoModal();
}

} // namespace grx::body
