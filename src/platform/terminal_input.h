// Standard input taken from somewhere else for a while: the null device (no terminal), or a
// pseudo-terminal on which a text has been typed. For tests of what a person answers.
#pragma once

#include <string>

namespace grx::platform {

class ScopedStandardInput {
public:
  // Standard input reads the null device: it is no terminal and ends at once.
  static ScopedStandardInput FromNullDevice();
  // Standard input is a terminal on which typed has been typed already.
  static ScopedStandardInput FromTerminalTyping(const std::string& typed);

  ScopedStandardInput(ScopedStandardInput&& other) noexcept;
  ScopedStandardInput(const ScopedStandardInput&) = delete;
  ScopedStandardInput& operator=(const ScopedStandardInput&) = delete;
  ScopedStandardInput& operator=(ScopedStandardInput&&) = delete;
  // Puts the previous standard input back.
  ~ScopedStandardInput();

  // Whether the replacement is in place.
  bool ok() const { return saved_ >= 0; }

private:
  ScopedStandardInput(int source, int other);
  int saved_ = -1;  // the previous standard input
  int source_ = -1; // what stands in its place
  int other_ = -1;  // the controlling side of a pseudo-terminal
};

} // namespace grx::platform
