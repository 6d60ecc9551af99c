// The installation-error box of the binding layer, with its own texts in five languages.
#pragma once

#include <optional>
#include <string>

namespace grx::dbaccess {

enum InstallMessage { kLibraryNotLoaded = 0, kFunctionNotAvailable = 1, kInstallErrorCaption = 2 };

// The language of the box: 0 German, 1 English, 2 French, 3 Spanish, 4 Italian, from the
// "Current" value of the machine's language key (English when it is missing or not a text).
int InstallErrorLanguage();
// The text of a message in a language, in the ANSI code page; nullopt when there is none.
std::optional<std::string> InstallErrorText(int message, int language);
// Replaces "%s" followed by a digit n with argument n ("???" when missing or null); when the
// result would exceed 1,000 characters the unfilled text is answered.
std::string FillInstallErrorText(const char* text, const char* const* args, int argCount);
// Shows the modal box: no owner, stop icon, OK button.
void ShowInstallError(int message, const char* const* args, int argCount);

} // namespace grx::dbaccess
