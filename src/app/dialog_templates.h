// The controls of the library's dialog templates, the same in every language module.
#pragma once

#include <cstdint>

namespace grx::app {

inline constexpr std::uint32_t kMessageBoxDialog = 6506;
inline constexpr std::uint32_t kProgressDialog = 6507;
// The message box: icon 6625, texts 6601 and 6602, buttons Cancel 2, OK/Yes 1, No 7, Help 9.
inline constexpr std::uint32_t kMessageBoxControls[] = {6625, 6601, 6602, 2, 1, 7, 9, 0};
// The progress dialog: progress bar 6600, text lines 6601 and 6602, Cancel 2.
inline constexpr std::uint32_t kProgressControls[] = {6600, 6601, 6602, 2, 0};

} // namespace grx::app

#define GRX_LIBRARY_DIALOGS(messageCaption, progressCaption)                                     \
  GRX_DIALOG_TABLE({grx::app::kMessageBoxDialog, messageCaption, grx::app::kMessageBoxControls}, \
                   {grx::app::kProgressDialog, progressCaption, grx::app::kProgressControls})
