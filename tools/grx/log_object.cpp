#include "log_object.h"

#include <filesystem>
#include <fstream>

#include "grx_error.h"
#include "platform/file_search.h"
#include "platform/process.h"
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
  return LogJsonText(LogJson(log));
}

std::string LogJsonText(const nlohmann::ordered_json& j) {
  std::string text;
  for (const auto& line : j["lines"]) {
    const std::string severity = line["severity"].get<std::string>();
    text += (severity == "info" ? std::string(9, ' ') : severity + std::string(9 - severity.size(), ' ')) +
            line["text"].get<std::string>() + "\n";
  }
  return text + "(" + std::to_string(j["lines"].size()) + " line(s): " + std::to_string(j["errors"].get<int>()) +
         " error(s), " + std::to_string(j["warnings"].get<int>()) + " warning(s))\n";
}

platform::ComReference<w5comp::ILogView> ReadSavedLog(const std::string& file) {
  std::ifstream in(platform::NativePath(file), std::ios::binary);
  if (!in) throw GrxError("cannot read the log " + file);
  std::string line;
  if (!std::getline(in, line) || line != "grx-log 1") throw GrxError(file + " is not a saved log (grx-log 1)");
  platform::ComReference<w5comp::ILogView> log = CreateLog();
  for (std::size_t number = 2; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.size() < 2 || line[1] != '\t' || (line[0] != 'E' && line[0] != 'W' && line[0] != 'I')) {
      throw GrxError(file + ":" + std::to_string(number) + ": expected E, W or I, a tab and the text");
    }
    const std::int32_t severity = line[0] == 'E'   ? w5comp::kLogError
                                  : line[0] == 'W' ? w5comp::kLogWarning
                                                   : w5comp::kLogInformation;
    const platform::UniqueBstr text = platform::MakeBstr(platform::Widen(line.substr(2)).c_str());
    log->AddLine(text.get(), severity, 0, 0);
  }
  return log;
}

namespace {

std::string RemovedFile(std::string file) {
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  return file;
}

} // namespace

ImportLogCapture::ImportLogCapture()
    : file_(RemovedFile((std::filesystem::temp_directory_path() /
                         ("grx-import-log-" + std::to_string(platform::CurrentProcessId()) + ".txt"))
                            .string())),
      variable_("W5IMCMPX_LOG", file_) {}

ImportLogCapture::~ImportLogCapture() {
  std::error_code ignored;
  std::filesystem::remove(file_, ignored);
}

nlohmann::ordered_json ImportLogCapture::Take() {
  std::error_code ignored;
  if (!std::filesystem::exists(file_, ignored)) return nullptr;
  const auto log = ReadSavedLog(file_);
  std::filesystem::remove(file_, ignored);
  return LogJson(log.get());
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
