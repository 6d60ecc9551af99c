#include "fault_injector.h"

#include <set>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "chartdb/q3jdbmox_api.h"

namespace q3 {

namespace {

// The functions that count calls and take faults: the API's, and the stand-in's API-style call.
const std::set<std::string_view, std::less<>>& FaultableFunctions() {
  static const std::set<std::string_view, std::less<>> names = {
#define GRX_API(kind, result, name, ...) #name,
#define GRX_API_OVERLOAD(result, name, decorated, ...) #name,
#include "chartdb/q3jdbmox_functions.def"
      "q3sim_BlockTypeWrite",
  };
  return names;
}

void RequireFaultable(const std::string& function) {
  if (!FaultableFunctions().count(function)) {
    throw std::invalid_argument("no function \"" + function + "\" of the chart-database API can be made to fail");
  }
}

} // namespace

void FaultInjector::Inject(const std::string& function, std::uint32_t errorId, std::uint32_t firstCall,
                           std::uint32_t count) {
  RequireFaultable(function);
  Fault fault;
  fault.errorId = errorId;
  fault.callsToSkip = firstCall > 0 ? firstCall - 1 : 0;
  fault.remaining = count;
  faults_[function] = fault;
}

namespace {

std::uint32_t ParseNumber(const std::string& text, const std::string& fault) {
  std::size_t used = 0;
  unsigned long value = 0;
  try {
    value = std::stoul(text, &used, 0);
  } catch (const std::exception&) {
    used = 0;
  }
  if (text.empty() || used != text.size() || value > 0xFFFFFFFFul) {
    throw std::invalid_argument("\"" + text + "\" in the fault \"" + fault + "\" is not a number");
  }
  return static_cast<std::uint32_t>(value);
}

} // namespace

void FaultInjector::InjectFromText(const std::string& text) {
  struct Parsed {
    std::string function;
    std::uint32_t errorId = 0, firstCall = 1, count = 1;
  };
  std::vector<Parsed> parsed;
  std::istringstream faults(text);
  for (std::string fault; std::getline(faults, fault, ',');) {
    if (fault.find_first_not_of(" \t") == std::string::npos) continue;
    std::vector<std::string> fields;
    std::istringstream parts(fault);
    for (std::string field; std::getline(parts, field, ':');) {
      const auto first = field.find_first_not_of(" \t");
      const auto last = field.find_last_not_of(" \t");
      fields.push_back(first == std::string::npos ? std::string() : field.substr(first, last - first + 1));
    }
    if (fields.size() < 2 || fields.size() > 4 || fields[0].empty()) {
      throw std::invalid_argument("the fault \"" + fault + "\" is not function:errorId[:firstCall[:count]]");
    }
    Parsed p;
    p.function = fields[0];
    p.errorId = ParseNumber(fields[1], fault);
    if (p.errorId == 0 || p.errorId > 0xFFFFFF) {
      throw std::invalid_argument("the error id of the fault \"" + fault + "\" has not 1 to 24 bits");
    }
    if (fields.size() > 2) p.firstCall = ParseNumber(fields[2], fault);
    if (fields.size() > 3) p.count = ParseNumber(fields[3], fault);
    parsed.push_back(p);
  }
  for (const Parsed& p : parsed) RequireFaultable(p.function);
  for (const Parsed& p : parsed) Inject(p.function, p.errorId, p.firstCall, p.count);
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
