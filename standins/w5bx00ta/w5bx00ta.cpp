// The error-text library stand-in w5bx00ta: a string table of the engineering system's error
// texts by error code.
#include "platform/string_resources.h"

GRX_STRING_TABLE({0x80040200, "The project could not be opened."},
                 {0x80040201, "The object is locked by another user."},
                 {0x80040202, "The controller is not reachable."}, {0x80040203, "The library is not installed."},
                 {0x80040204, "The import file has an unknown format."},
                 {0x80040205, "The block type already exists in the controller."},
                 {0x80040206, "The task configuration of the controller is invalid."})
