// The library's own resources (English): the strings and dialog templates that are used when no
// language resource library is loaded. The English language module w5lresax carries the same.
// Message strings hold their parts separated by carriage returns: text, second text, caption.
#include "app/dialog_templates.h"
#include "platform/string_resources.h"

GRX_STRING_TABLE({509, "Help error"}, {511, "&Yes"}, {512, "&No"}, {513, "Cancel"},
                 {1003,
                  "The controller could not be classified as a controller of the served kind.\r"
                  "The chart helper functions are not available for it.\rResource check"},
                 {1005,
                  "The controller is served directly and is not of the served kind.\r"
                  "Please check the type of the controller.\rResource check"},
                 {1032, "An import step failed:\r%s\rImport"},
                 {1039, "The import finished with errors.\rDo you want to accept its result?\rImport"},
                 {1054,
                  "The charts of this controller were stamped by an older release.\r"
                  "Please convert them before editing them.\rVersion check"},
                 {1056,
                  "The charts of this controller carry a foreign version stamp.\r"
                  "They cannot be edited with this release.\rVersion check"},
                 {3066, "Errors: %d"}, {3067, "Warnings: %d"}, {3068, "Checked: %d objects, %d blocks"},
                 {3500, "The log holds errors or warnings.\rDo you want to see the protocol?\rProtocol"},
                 {3501, "Import of tasks and block types"})

GRX_LIBRARY_DIALOGS("Message", "Progress")
