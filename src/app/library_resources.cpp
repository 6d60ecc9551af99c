// The library's own resources (English): the strings and dialog templates that are used when no
// language resource library is loaded. The English language module w5lresax carries the same.
// Message strings hold their parts separated by carriage returns: text, second text, caption.
#include "platform/string_resources.h"
#include "w5lres/resource_numbers.h"

GRX_STRING_TABLE({w5lres::kHelpErrorTitle, "Help error"}, {w5lres::kYesButton, "&Yes"}, {w5lres::kNoButton, "&No"},
                 {w5lres::kCancelButton, "Cancel"},
                 {w5lres::kControllerNotServed,
                  "The controller could not be classified as a controller of the served kind.\r"
                  "The chart helper functions are not available for it.\rResource check"},
                 {w5lres::kControllerServedDirectly,
                  "The controller is served directly and is not of the served kind.\r"
                  "Please check the type of the controller.\rResource check"},
                 {w5lres::kImportStepFailed, "An import step failed:\r%s\rImport"},
                 {w5lres::kAcceptImportWithErrors,
                  "The import finished with errors.\rDo you want to accept its result?\rImport"},
                 {w5lres::kStampedByOlderRelease,
                  "The charts of this controller were stamped by an older release.\r"
                  "Please convert them before editing them.\rVersion check"},
                 {w5lres::kForeignStamp,
                  "The charts of this controller carry a foreign version stamp.\r"
                  "They cannot be edited with this release.\rVersion check"},
                 {w5lres::kLogStarted, "Started: %s"}, {w5lres::kLogEnded, "Ended: %s"},
                 {w5lres::kLogCounts, "%d error(s), %d warning(s)"},
                 {w5lres::kShowLogQuestion, "The log holds errors or warnings. Do you want to see it?"},
                 {w5lres::kImportTasksAndTypes, "Import of tasks and block types"})

GRX_DIALOG_TABLE({w5lres::kMessageBoxDialog, "Message", w5lres::kMessageBoxControls},
                 {w5lres::kProgressDialog, "Progress", w5lres::kProgressControls})
