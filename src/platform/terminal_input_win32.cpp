// Standard input from the null device or from typed text on Win32. A console cannot be made
// here: a pipe stands for the terminal, and the environment value GRX_TYPED_TERMINAL tells this
// process and the programs it starts that their standard input is one.
#include <fcntl.h>
#include <io.h>

#include <iostream>

#include "platform/process.h"
#include "platform/terminal_input.h"

namespace grx::platform {

ScopedStandardInput::ScopedStandardInput(int source, int other) : source_(source), other_(other) {
  if (source_ < 0) return;
  saved_ = _dup(_fileno(stdin));
  if (saved_ >= 0) _dup2(source_, _fileno(stdin));
  std::cin.clear();
}

ScopedStandardInput::ScopedStandardInput(ScopedStandardInput&& other) noexcept
    : saved_(other.saved_), source_(other.source_), other_(other.other_) {
  other.saved_ = other.source_ = other.other_ = -1;
}

ScopedStandardInput::~ScopedStandardInput() {
  if (saved_ >= 0) {
    _dup2(saved_, _fileno(stdin));
    _close(saved_);
  }
  if (source_ >= 0) _close(source_);
  if (other_ >= 0) {
    _close(other_);
    RemoveEnvironmentValue("GRX_TYPED_TERMINAL");
  }
  std::cin.clear();
}

ScopedStandardInput ScopedStandardInput::FromNullDevice() {
  return ScopedStandardInput(_open("NUL", _O_RDONLY), -1);
}

ScopedStandardInput ScopedStandardInput::FromTerminalTyping(const std::string& typed) {
  int ends[2] = {-1, -1};
  if (_pipe(ends, static_cast<unsigned>(typed.size() + 4096), _O_BINARY) != 0) return ScopedStandardInput(-1, -1);
  if (_write(ends[1], typed.data(), static_cast<unsigned>(typed.size())) != static_cast<int>(typed.size())) {
    _close(ends[0]);
    _close(ends[1]);
    return ScopedStandardInput(-1, -1);
  }
  SetEnvironmentValue("GRX_TYPED_TERMINAL", "1");
  return ScopedStandardInput(ends[0], ends[1]);
}

} // namespace grx::platform
