#include "log_object.h"

#include "grx_error.h"
#include "platform/dynamic_library.h"
#include "platform/string_resources.h"
#include "w5tool/w5toolax.h"

namespace grx::cli {
namespace {

const char* SeverityName(std::int32_t severity) {
  return severity == w5comp::kLogError ? "error" : severity == w5comp::kLogWarning ? "warning" : "info";
}

} // namespace

platform::ComReference<w5comp::ILogView> CreateLog() {
  void* object = nullptr;
  const platform::HRESULT hr = platform::CoCreateInstance(w5comp::CLSID_Log, nullptr, platform::CLSCTX_INPROC_SERVER,
                                                          w5comp::IID_ILogView, &object);
  if (platform::FAILED(hr) || !object) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    throw GrxError(std::string("the log component cannot be created (") + code + ")");
  }
  return platform::ComReference<w5comp::ILogView>(static_cast<w5comp::ILogView*>(object));
}

nlohmann::ordered_json LogJson(w5comp::ILogView* log) {
  nlohmann::ordered_json j;
  std::int32_t errors = 0, warnings = 0;
  std::uint32_t count = 0;
  if (log) {
    log->GetCounts(&errors, &warnings);
    log->GetLineCount(&count);
  }
  j["errors"] = errors;
  j["warnings"] = warnings;
  j["lines"] = nlohmann::ordered_json::array();
  for (std::uint32_t i = 0; i < count; ++i) {
    platform::BSTR text = nullptr;
    std::int32_t severity = 0;
    if (platform::FAILED(log->GetLine(i, &text, &severity))) continue;
    const platform::UniqueBstr owned(text);
    j["lines"].push_back({{"severity", SeverityName(severity)}, {"text", platform::Narrow(text)}});
  }
  return j;
}

std::string LogText(w5comp::ILogView* log) {
  const nlohmann::ordered_json j = LogJson(log);
  std::string text;
  for (const auto& line : j["lines"]) {
    const std::string severity = line["severity"].get<std::string>();
    text += (severity == "info" ? std::string(9, ' ') : severity + std::string(9 - severity.size(), ' ')) +
            line["text"].get<std::string>() + "\n";
  }
  return text + std::to_string(j["errors"].get<int>()) + " error(s), " + std::to_string(j["warnings"].get<int>()) +
         " warning(s)\n";
}

void* LoadResourceModule(const std::string& name) {
  void* module = nullptr;
  if (name.empty()) {
    // The language library of the user's language; English lives in the library's own resources.
    module = W5TL_LoadLanguageDllEx(nullptr, "w5lresax");
    if (!module || !platform::LoadResourceString(module, 3066)) module = platform::Module::Load("w5lhlpax").Detach();
  } else {
    module = platform::Module::Load(name).Detach();
  }
  if (!module) throw GrxError("no resource module " + (name.empty() ? std::string("w5lresax") : name));
  return module;
}

} // namespace grx::cli
