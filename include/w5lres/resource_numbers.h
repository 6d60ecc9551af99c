// The numbers of the language resource library w5lresax: the strings and dialog templates the
// helper library loads from it, the same in every language module and in the library's own
// resources. A message string holds its parts separated by carriage returns: text, second text,
// caption.
#pragma once

#include <cstdint>

namespace w5lres {

// Strings.
inline constexpr std::uint32_t kHelpErrorTitle = 509; // title of a box with an HTML Help error
inline constexpr std::uint32_t kYesButton = 511;      // button texts of the message box
inline constexpr std::uint32_t kNoButton = 512;
inline constexpr std::uint32_t kCancelButton = 513;
inline constexpr std::uint32_t kControllerNotServed = 1003; // results of the resource check
inline constexpr std::uint32_t kControllerServedDirectly = 1005;
inline constexpr std::uint32_t kImportStepFailed = 1032; // takes the failed step's text
inline constexpr std::uint32_t kAcceptImportWithErrors = 1039;
inline constexpr std::uint32_t kStampedByOlderRelease = 1054;
inline constexpr std::uint32_t kForeignStamp = 1056;
// Strings of a host's resource module that the log summary and the protocol question load: the
// start and end texts (one text each), the error and warning counters (two numbers), the question.
inline constexpr std::uint32_t kLogStarted = 3066;
inline constexpr std::uint32_t kLogEnded = 3067;
inline constexpr std::uint32_t kLogCounts = 3068;
inline constexpr std::uint32_t kShowLogQuestion = 3500;
inline constexpr std::uint32_t kImportTasksAndTypes = 3501;

// Dialog templates and their controls.
inline constexpr std::uint32_t kMessageBoxDialog = 6506;
inline constexpr std::uint32_t kProgressDialog = 6507;
inline constexpr std::uint32_t kProgressBar = 6600;
inline constexpr std::uint32_t kFirstTextLine = 6601;
inline constexpr std::uint32_t kSecondTextLine = 6602;
inline constexpr std::uint32_t kMessageIcon = 6625;
inline constexpr std::uint32_t kOkYesButtonControl = 1;
inline constexpr std::uint32_t kCancelButtonControl = 2;
inline constexpr std::uint32_t kNoButtonControl = 7;
inline constexpr std::uint32_t kHelpButtonControl = 9;
// The message box: icon, texts, buttons Cancel, OK/Yes, No, Help; zero-terminated.
inline constexpr std::uint32_t kMessageBoxControls[] = {
    kMessageIcon,        kFirstTextLine,   kSecondTextLine,    kCancelButtonControl,
    kOkYesButtonControl, kNoButtonControl, kHelpButtonControl, 0};
// The progress dialog: progress bar, text lines, Cancel; zero-terminated.
inline constexpr std::uint32_t kProgressControls[] = {kProgressBar, kFirstTextLine, kSecondTextLine,
                                                      kCancelButtonControl, 0};

} // namespace w5lres
