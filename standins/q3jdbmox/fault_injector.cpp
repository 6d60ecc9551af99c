#include "fault_injector.h"

namespace q3 {

void FaultInjector::Inject(const std::string& function, std::uint32_t errorId, std::uint32_t firstCall,
                           std::uint32_t count) {
  Fault fault;
  fault.errorId = errorId;
  fault.callsToSkip = firstCall > 0 ? firstCall - 1 : 0;
  fault.remaining = count;
  faults_[function] = fault;
}

std::optional<std::uint32_t> FaultInjector::OnCall(const std::string& function) {
  auto it = faults_.find(function);
  if (it == faults_.end()) {
    return std::nullopt;
  }
  Fault& fault = it->second;
  if (fault.callsToSkip > 0) {
    --fault.callsToSkip;
    return std::nullopt;
  }
  const std::uint32_t errorId = fault.errorId;
  if (fault.remaining > 0 && --fault.remaining == 0) {
    faults_.erase(it);
  }
  return errorId;
}

} // namespace q3
