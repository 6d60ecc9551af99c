// grx: runs the helper library against a project (a chart database file). Its commands come from
// one table (command_table.cpp) and run in one frame (command_frame.h).
#include "command_frame.h"
#include "terminal_text.h"

int main(int argc, char** argv) {
  const grx::cli::TerminalOutput terminal;
  return grx::cli::RunGrx(argc, argv);
}
