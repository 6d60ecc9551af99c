#include "log_store.h"

#include <fstream>

#include "platform/code_page.h"
#include "platform/com_lite.h"
#include "platform/file_search.h"
#include "platform/process.h"

namespace w5imp {
namespace {

char Letter(std::int32_t severity) {
  return severity == w5comp::kLogError ? 'E' : severity == w5comp::kLogWarning ? 'W' : 'I';
}

const char* Word(std::int32_t severity) {
  return severity == w5comp::kLogError ? "error  " : severity == w5comp::kLogWarning ? "warning" : "       ";
}

} // namespace

void LogStore::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
  closed_ = false;
}

void LogStore::Add(std::int32_t severity, const std::string& text) {
  std::lock_guard lock(mutex_);
  const std::int32_t known =
      severity == w5comp::kLogError || severity == w5comp::kLogWarning ? severity : w5comp::kLogInformation;
  lines_.push_back(LogLine{known, text});
}

void LogStore::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
}

bool LogStore::Closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

std::vector<LogLine> LogStore::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

std::int32_t LogStore::Count(std::int32_t severity) const {
  std::lock_guard lock(mutex_);
  std::int32_t n = 0;
  for (const LogLine& line : lines_) n += line.severity == severity;
  return n;
}

std::string LogStore::View() const {
  const auto lines = Lines();
  std::string text = "\n+- Log: " + std::to_string(Errors()) + " error(s), " + std::to_string(Warnings()) +
                     " warning(s) " + std::string(40, '-') + "\n";
  for (const LogLine& line : lines) {
    text += std::string("| ") + Word(line.severity) + " " + grx::platform::AnsiToUtf8(line.text) + "\n";
  }
  return text + "+" + std::string(70, '-') + "\n";
}

bool LogStore::Save(const std::string& file) const {
  std::ofstream out(grx::platform::NativePath(file), std::ios::binary);
  out << "grx-log 1\n";
  for (const LogLine& line : Lines()) {
    std::string text = line.text;
    for (char& c : text) {
      if (c == '\n' || c == '\r') c = ' '; // one message per line
    }
    out << Letter(line.severity) << '\t' << text << '\n';
  }
  return static_cast<bool>(out.flush());
}

grx::platform::HRESULT LogView::AddLine(grx::platform::BSTR text, std::int32_t severity, std::int32_t, std::int32_t) {
  if (!text) return grx::platform::E_POINTER;
  log_.Add(severity, grx::platform::Narrow(text));
  return grx::platform::S_OK;
}

grx::platform::HRESULT LogView::ShowLog(grx::platform::WindowHandle, std::uint32_t) {
  grx::platform::WriteStandardError(log_.View());
  return grx::platform::S_OK;
}

grx::platform::HRESULT LogView::GetLine(std::uint32_t index, grx::platform::BSTR* text, std::int32_t* severity) {
  if (!text || !severity) return grx::platform::E_POINTER;
  const auto lines = log_.Lines();
  if (index >= lines.size()) return grx::platform::E_INVALIDARG;
  *text = grx::platform::SysAllocString(grx::platform::Widen(lines[index].text).c_str());
  *severity = lines[index].severity;
  return grx::platform::S_OK;
}

} // namespace w5imp
