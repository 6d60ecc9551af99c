#include "foundation/cfc_message_box.h"

#include <optional>

#include "foundation/resource_text.h"
#include "foundation/string_ex.h"
#include "platform/dialog_presenter.h"
#include "platform/window_handles.h"
#include "w5lres/resource_numbers.h"

namespace ZEB {
namespace {

std::uint32_t IconOf(std::uint32_t style) {
  switch (style) {
    case 16:
      return kIconHand;
    case 48:
      return kIconExclamation;
    case 64:
      return kIconAsterisk;
    default:
      return kIconQuestion;
  }
}

grx::platform::BoxIcon BoxIconOf(std::uint32_t iconId) {
  switch (iconId) {
    case kIconHand:
      return grx::platform::BoxIcon::Stop;
    case kIconExclamation:
      return grx::platform::BoxIcon::Exclamation;
    case kIconAsterisk:
      return grx::platform::BoxIcon::Information;
    default:
      return grx::platform::BoxIcon::Question;
  }
}

std::string Suffixed(const std::string& caption, std::uint32_t id) {
  return caption + " (" + "jres" + ":" + std::to_string(id) + ")";
}

std::string Label(std::uint32_t id, const char* fallback) {
  return ResourceString(id).value_or(fallback);
}

} // namespace

grx::platform::WindowHandle TopLevelOwner(grx::platform::WindowHandle window) {
  for (grx::platform::WindowHandle up = window; up != grx::platform::kNoWindow; up = grx::platform::ParentWindow(up)) {
    window = up;
  }
  return window;
}

CDlgCfcMessageBox::CDlgCfcMessageBox(grx::platform::WindowHandle owner, std::uint32_t messageId, std::uint32_t style,
                                     std::uint32_t buttons, const std::vector<std::string>* arguments)
    : m_owner(TopLevelOwner(owner)) {
  SetResourceTexts(messageId, arguments);
  SetStyle(style, buttons, messageId);
}

CDlgCfcMessageBox::CDlgCfcMessageBox(grx::platform::WindowHandle owner, std::uint32_t titleId, const std::string& text,
                                     const std::string& secondText, std::uint32_t style, std::uint32_t buttons)
    : m_owner(TopLevelOwner(owner)), m_text(text), m_secondText(secondText) {
  m_caption = Suffixed(ResourceString(titleId).value_or("no Resource"), titleId);
  SetStyle(style, buttons, titleId);
}

void CDlgCfcMessageBox::SetResourceTexts(std::uint32_t messageId, const std::vector<std::string>* arguments) {
  std::optional<std::string> text = ResourceString(messageId);
  if (text && arguments) text = ReplacePlaceholders(*text, "%s", *arguments);
  const std::vector<std::string> parts = text ? MessageParts(*text) : std::vector<std::string>{};
  if (parts.empty()) {
    m_text = "No Resources available";
    m_secondText = "Please restart";
    m_caption = "Fatal Error";
  } else {
    m_caption = parts.back();
    if (parts.size() >= 2) m_text = parts[0];
    if (parts.size() >= 3) m_secondText = parts[1];
  }
  m_caption = Suffixed(m_caption, messageId);
}

void CDlgCfcMessageBox::SetStyle(std::uint32_t style, std::uint32_t buttons, std::uint32_t resourceId) {
  m_style = style;
  m_iconId = IconOf(style);
  m_messageId = resourceId;
  const std::uint32_t code = buttons & 0xFF;
  m_buttonCode =
      (code == kButtonsOk || code == kButtonsOkCancel || code == kButtonsYesNoCancel || code == kButtonsYesNo)
          ? code
          : kButtonsOkCancel;
  m_helpContext = (buttons & kButtonsHelp) ? (resourceId | 0x30000u) : 0;
}

const CfcMessageBoxLayout& CDlgCfcMessageBox::OnInitDialog() {
  CfcMessageBoxLayout layout;
  layout.iconId = m_iconId;
  m_cancelPressed = m_noPressed = m_okPressed = false;
  layout.cancel.visible = m_cancelEnabled;
  layout.no.visible = m_noEnabled;
  layout.okYes.visible = m_okEnabled;
  layout.caption = m_caption;
  layout.text = m_text;
  layout.secondText = m_secondText;
  layout.help.visible = m_helpContext != 0;
  switch (m_buttonCode) {
    case kButtonsOk:
      layout.cancel.visible = false;
      layout.no.visible = false;
      break;
    case kButtonsOkCancel:
      layout.no.visible = false;
      layout.cancel.label = Label(w5lres::kCancelButton, "Cancel");
      break;
    case kButtonsYesNoCancel:
      layout.okYes.label = Label(w5lres::kYesButton, "&Yes");
      layout.no.label = Label(w5lres::kNoButton, "&No");
      layout.cancel.label = Label(w5lres::kCancelButton, "Cancel");
      break;
    case kButtonsYesNo:
      layout.okYes.label = Label(w5lres::kYesButton, "&Yes");
      layout.no.label = Label(w5lres::kNoButton, "&No");
      layout.cancel.visible = false;
      break;
  }
  layout.cancelAtHelpPlace = layout.cancel.visible && !layout.help.visible;
  layout.firstTextStretched = m_secondText.empty();
  const std::size_t firstCapacity = layout.firstTextStretched ? 2 * kTextCapacity : kTextCapacity;
  layout.firstTextScrolls = m_text.size() > firstCapacity;
  layout.secondTextScrolls = !m_secondText.empty() && m_secondText.size() > kTextCapacity;
  m_layout = layout;
  return m_layout;
}

int CDlgCfcMessageBox::OnOK() {
  m_okPressed = true;
  return (m_buttonCode == kButtonsYesNoCancel || m_buttonCode == kButtonsYesNo) ? 6 : 1;
}

int CDlgCfcMessageBox::OnNo() {
  m_noPressed = true;
  return 7;
}

int CDlgCfcMessageBox::OnCancel() {
  m_cancelPressed = true;
  return 2;
}

void CDlgCfcMessageBox::OnHelp() {
  if (m_onHelp && m_helpContext) m_onHelp(m_owner, m_helpContext);
}

int CDlgCfcMessageBox::DoModal() {
  const CfcMessageBoxLayout& layout = OnInitDialog();
  grx::platform::MessageBoxRequest request;
  request.owner = m_owner;
  request.caption = layout.caption;
  request.text = layout.text;
  request.secondText = layout.secondText;
  request.icon = BoxIconOf(layout.iconId);
  request.helpContext = m_helpContext;
  if (m_helpContext) request.onHelp = [this] { OnHelp(); };
  using grx::platform::BoxButtons;
  switch (m_buttonCode) {
    case kButtonsOk:
      request.buttons = BoxButtons::Ok;
      break;
    case kButtonsOkCancel:
      request.buttons = BoxButtons::OkCancel;
      request.buttonLabels = {"OK", layout.cancel.label};
      break;
    case kButtonsYesNoCancel:
      request.buttons = BoxButtons::YesNoCancel;
      request.buttonLabels = {layout.okYes.label, layout.no.label, layout.cancel.label};
      break;
    default:
      request.buttons = BoxButtons::YesNo;
      request.buttonLabels = {layout.okYes.label, layout.no.label};
      break;
  }
  switch (grx::platform::ShowMessageBox(request)) {
    case grx::platform::BoxAnswer::Ok:
    case grx::platform::BoxAnswer::Yes:
      return OnOK();
    case grx::platform::BoxAnswer::No:
      return OnNo();
    default:
      return OnCancel(); // Cancel, and closing the window
  }
}

} // namespace ZEB
