// The lines of a log with their severities and counters, shown on the terminal and kept in a file:
//   grx-log 1
//   <E|W|I><TAB><text>        one line per message, in the ANSI code page
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "w5comp/log_view.h"

namespace w5imp {

struct LogLine {
  std::int32_t severity = w5comp::kLogInformation;
  std::string text;
};

class LogStore {
public:
  void Clear();
  void Add(std::int32_t severity, const std::string& text);
  void Close();
  bool Closed() const;
  std::vector<LogLine> Lines() const;
  std::int32_t Errors() const { return Count(w5comp::kLogError); }
  std::int32_t Warnings() const { return Count(w5comp::kLogWarning); }
  // The framed view of the log for the terminal (UTF-8).
  std::string View() const;
  bool Save(const std::string& file) const;

private:
  std::int32_t Count(std::int32_t severity) const;

  mutable std::mutex mutex_;
  std::vector<LogLine> lines_;
  bool closed_ = false;
};

// The ILogView methods over a LogStore, for the components that are logs (IUnknown is theirs).
class LogView : public w5comp::ILogView {
public:
  grx::platform::HRESULT Reset(GlObjectId, std::uint32_t, GlTransactionId) override {
    log_.Clear();
    return grx::platform::S_OK;
  }
  grx::platform::HRESULT AddLine(grx::platform::BSTR text, std::int32_t severity, std::int32_t, std::int32_t) override;
  grx::platform::HRESULT CloseLog() override {
    log_.Close();
    return grx::platform::S_OK;
  }
  grx::platform::HRESULT ShowLog(grx::platform::WindowHandle, std::uint32_t) override;
  grx::platform::HRESULT GetCounts(std::int32_t* errors, std::int32_t* warnings) override {
    if (!errors || !warnings) return grx::platform::E_POINTER;
    *errors = log_.Errors();
    *warnings = log_.Warnings();
    return grx::platform::S_OK;
  }
  grx::platform::HRESULT GetLineCount(std::uint32_t* count) override {
    if (!count) return grx::platform::E_POINTER;
    *count = static_cast<std::uint32_t>(log_.Lines().size());
    return grx::platform::S_OK;
  }
  grx::platform::HRESULT GetLine(std::uint32_t index, grx::platform::BSTR* text, std::int32_t* severity) override;
  grx::platform::HRESULT SaveAs(const char* file) override {
    if (!file) return grx::platform::E_POINTER;
    return log_.Save(file) ? grx::platform::S_OK : grx::platform::E_FAIL;
  }
  GRX_COM_UNUSED_SLOT(4)
  GRX_COM_UNUSED_SLOT(5)
  GRX_COM_UNUSED_SLOT(6)
  GRX_COM_UNUSED_SLOT(7)
  GRX_COM_UNUSED_SLOT(9)
  GRX_COM_UNUSED_SLOT(10)
  GRX_COM_UNUSED_SLOT(11)
  GRX_COM_UNUSED_SLOT(12)
  GRX_COM_UNUSED_SLOT(13)

  LogStore& Store() { return log_; }

protected:
  LogStore log_;
};

} // namespace w5imp
