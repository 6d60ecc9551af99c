// Standard input from the null device or a pseudo-terminal on POSIX systems.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <iostream>

#include "platform/terminal_input.h"

namespace grx::platform {

ScopedStandardInput::ScopedStandardInput(int source, int other) : source_(source), other_(other) {
  if (source_ < 0) return;
  saved_ = ::dup(STDIN_FILENO);
  if (saved_ >= 0) ::dup2(source_, STDIN_FILENO);
  std::cin.clear();
}

ScopedStandardInput::ScopedStandardInput(ScopedStandardInput&& other) noexcept
    : saved_(other.saved_), source_(other.source_), other_(other.other_) {
  other.saved_ = other.source_ = other.other_ = -1;
}

ScopedStandardInput::~ScopedStandardInput() {
  if (saved_ >= 0) {
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
  }
  if (source_ >= 0) ::close(source_);
  if (other_ >= 0) ::close(other_);
  std::cin.clear();
}

ScopedStandardInput ScopedStandardInput::FromNullDevice() {
  return ScopedStandardInput(::open("/dev/null", O_RDONLY), -1);
}

ScopedStandardInput ScopedStandardInput::FromTerminalTyping(const std::string& typed) {
  int controller = -1, terminal = -1;
  if (::openpty(&controller, &terminal, nullptr, nullptr, nullptr) != 0) return ScopedStandardInput(-1, -1);
  if (::write(controller, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) {
    ::close(controller);
    ::close(terminal);
    return ScopedStandardInput(-1, -1);
  }
  return ScopedStandardInput(terminal, controller);
}

} // namespace grx::platform
