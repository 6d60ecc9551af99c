// The exported message boxes: one dialog per call, modal, destroyed before the answer returns. Its
// help button opens the default help file at the box's help context. A box that cannot be shown
// is traced and answers 0 (no button), to the host and to the exports that ask through it alike.
#include "app/export_bodies.h"
#include "app/export_frame.h"
#include "foundation/cfc_message_box.h"
#include "platform/help_viewer.h"

namespace grx::body {
namespace {

template <class MakeBox>
int Run(MakeBox&& makeBox) {
  return app::CatchAndAnswer("DoCfcMsgBox", [&]() -> int {
    ZEB::CDlgCfcMessageBox box = makeBox();
    box.SetHelpHandler([](grx::platform::WindowHandle owner, std::uint32_t context) {
      body::W5GRX_ShowHelp(owner, nullptr, context, grx::platform::HELP_CONTEXT);
    });
    return box.DoModal();
  });
}

} // namespace

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t messageId, std::uint32_t style,
                std::uint32_t buttons) {
  return Run([&] { return ZEB::CDlgCfcMessageBox(window, messageId, style, buttons); });
}

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t title, CString text, std::uint32_t style,
                std::uint32_t buttons) {
  return Run([&] { return ZEB::CDlgCfcMessageBox(window, title, text.str(), std::string(), style, buttons); });
}

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t title, CString text, CString text2,
                std::uint32_t style, std::uint32_t buttons) {
  return Run([&] { return ZEB::CDlgCfcMessageBox(window, title, text.str(), text2.str(), style, buttons); });
}

int DoCfcMsgBox(grx::platform::WindowHandle window, std::uint32_t messageId, const std::vector<std::string>& args,
                std::uint32_t style, std::uint32_t buttons) {
  return Run([&] { return ZEB::CDlgCfcMessageBox(window, messageId, style, buttons, &args); });
}

} // namespace grx::body
