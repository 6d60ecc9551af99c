// Faults injected into API calls by tests: a named function fails with a chosen error id on its
// n-th call from now, for a number of calls or for ever.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace q3 {

class FaultInjector {
public:
  // firstCall 1 = the next call; count 0 = every call from then on.
  void Inject(const std::string& function, std::uint32_t errorId, std::uint32_t firstCall, std::uint32_t count);
  void Clear() { faults_.clear(); }
  // Faults written out as "function:errorId[:firstCall[:count]]", several separated by commas
  // (blanks around the fields are ignored, numbers decimal or 0x hex; firstCall 1 and count 1 when left out). Throws
  // std::invalid_argument for a malformed text, injecting nothing.
  void InjectFromText(const std::string& text);
  // Counts the call; answers the error id when this call is to fail.
  std::optional<std::uint32_t> OnCall(const std::string& function);

private:
  struct Fault {
    std::uint32_t errorId = 0;
    std::uint32_t callsToSkip = 0;
    std::uint32_t remaining = 0; // 0 = for ever
  };
  std::map<std::string, Fault, std::less<>> faults_;
};

} // namespace q3
