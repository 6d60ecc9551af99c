// The frame every grx command runs in: the command line registered and read from the command
// table, every argument typed (texts into the code page, numbers whole and in range, object paths
// resolved and of the kind the command takes), the project opened as the command's row says
// (read-only for reading commands, one session for writing ones: committed when the command
// succeeds, rolled back on any failure so that the file stays byte for byte as it was), every
// exception turned into one line `grx COMMAND: what: cause (function, error id)` and an exit code
// (grx_error.h).
#pragma once

#include <string>

namespace grx::cli {

int RunGrx(int argc, char** argv);

// A text as it may be shown on a terminal: control characters other than line feeds as \xNN.
std::string EscapeControls(const std::string& text);

} // namespace grx::cli
