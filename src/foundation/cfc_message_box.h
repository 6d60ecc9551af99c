// The library's own message dialog: texts from the string resources of the current resource
// module, an icon by style, up to three buttons laid out by a button code, an optional help
// button, and a caption that names the message number (" (jres:N)"). The platform's dialog
// presenter shows it; DoModal answers the pressed button (1 OK, 2 Cancel, 6 Yes, 7 No).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "grx/window_handle.h"

namespace ZEB {

// Button codes (the low byte of the buttons argument) and the help bit.
inline constexpr std::uint32_t kButtonsOk = 0;
inline constexpr std::uint32_t kButtonsOkCancel = 1;
inline constexpr std::uint32_t kButtonsYesNoCancel = 3;
inline constexpr std::uint32_t kButtonsYesNo = 4;
inline constexpr std::uint32_t kButtonsHelp = 0x4000;

// Standard icons.
inline constexpr std::uint32_t kIconHand = 32513;
inline constexpr std::uint32_t kIconQuestion = 32514;
inline constexpr std::uint32_t kIconExclamation = 32515;
inline constexpr std::uint32_t kIconAsterisk = 32516;

// What opening the dialog decided, control by control.
struct CfcMessageBoxLayout {
  struct Button {
    std::uint32_t item = 0;
    std::string label; // empty: the template's own label
    bool visible = true;
  };
  std::uint32_t iconId = 0;
  std::string caption, text, secondText;
  Button cancel{2, {}, true}, okYes{1, {}, true}, no{7, {}, true}, help{9, {}, true}; // the template's order
  bool cancelAtHelpPlace = false;  // Cancel moved to the place of the hidden help button
  bool firstTextStretched = false; // no second text: the first text spans both controls
  bool firstTextScrolls = false, secondTextScrolls = false;
};

class CDlgCfcMessageBox {
public:
  // Texts from the message resource messageId (its "%s" placeholders filled from arguments).
  CDlgCfcMessageBox(grx::platform::WindowHandle owner, std::uint32_t messageId, std::uint32_t style,
                    std::uint32_t buttons, const std::vector<std::string>* arguments = nullptr);
  // Caption from the title resource titleId ("no Resource" when missing), texts as given.
  CDlgCfcMessageBox(grx::platform::WindowHandle owner, std::uint32_t titleId, const std::string& text,
                    const std::string& secondText, std::uint32_t style, std::uint32_t buttons);
  virtual ~CDlgCfcMessageBox() = default;

  // Opens the dialog through the presenter and answers the pressed button.
  int DoModal();
  // The layout decisions of opening; the pressed flags are cleared.
  const CfcMessageBoxLayout& OnInitDialog();
  // Button handlers: each ends the dialog with its result.
  int OnOK();
  int OnNo();
  int OnCancel();

  // What the help button does: called with the owner and the help context.
  using HelpHandler = std::function<void(grx::platform::WindowHandle, std::uint32_t)>;
  void SetHelpHandler(HelpHandler handler) { m_onHelp = std::move(handler); }
  void OnHelp();

  grx::platform::WindowHandle owner() const { return m_owner; }
  std::uint32_t helpContext() const { return m_helpContext; }
  std::uint32_t buttonCode() const { return m_buttonCode; }

  // Characters a text control holds before it scrolls (three lines of 60).
  static constexpr std::size_t kTextCapacity = 180;

private:
  void SetResourceTexts(std::uint32_t messageId, const std::vector<std::string>* arguments);
  void SetStyle(std::uint32_t style, std::uint32_t buttons, std::uint32_t resourceId);

  grx::platform::WindowHandle m_owner;
  std::uint32_t m_style = 0;
  std::uint32_t m_buttonCode = kButtonsOk;
  bool m_cancelPressed = false, m_noPressed = false, m_okPressed = false;
  bool m_cancelEnabled = true, m_noEnabled = true, m_okEnabled = true;
  bool m_modal = true;
  std::string m_caption, m_text, m_secondText;
  std::uint32_t m_iconId = kIconQuestion;
  std::uint32_t m_messageId = 0;
  std::uint32_t m_helpContext = 0;
  CfcMessageBoxLayout m_layout;
  HelpHandler m_onHelp;
};

// The top-level window above a window (the window itself when it has no parent).
grx::platform::WindowHandle TopLevelOwner(grx::platform::WindowHandle window);

} // namespace ZEB
