#include "terminal_text.h"

#include <iostream>
#include <streambuf>

#include "grx_error.h"
#include "platform/code_page.h"

namespace grx::cli {

std::string FromTerminal(const std::string& argument) {
  if (auto text = platform::Utf8ToAnsi(argument)) return *text;
  throw GrxError("the argument \"" + platform::Utf8ToAnsiLossy(argument) + "\" holds a character that code page " +
                     std::to_string(platform::AnsiCodePage()) + " cannot hold",
                 kExitUsage);
}

void FromTerminal(std::vector<std::string>& arguments) {
  for (std::string& a : arguments) a = FromTerminal(a);
}

namespace {

template <class Json>
Json ToUtf8(const Json& value) {
  if (value.is_string()) return platform::AnsiToUtf8(value.template get<std::string>());
  if (value.is_array()) {
    Json out = Json::array();
    for (const auto& element : value) out.push_back(ToUtf8(element));
    return out;
  }
  if (value.is_object()) {
    Json out = Json::object();
    for (const auto& [key, element] : value.items()) out[platform::AnsiToUtf8(key)] = ToUtf8(element);
    return out;
  }
  return value;
}

} // namespace

std::string JsonText(const nlohmann::ordered_json& value, int indent) {
  return platform::Utf8ToAnsiLossy(ToUtf8(value).dump(indent));
}

std::string JsonText(const nlohmann::json& value, int indent) {
  return platform::Utf8ToAnsiLossy(ToUtf8(value).dump(indent));
}

// Converts what is written, keeping back a lead byte whose second byte has not come yet.
class TerminalOutput::Buffer : public std::streambuf {
public:
  explicit Buffer(std::streambuf* target) : target_(target) {}
  ~Buffer() override { Flush(true); }

protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return sync() == 0 ? traits_type::not_eof(ch) : ch;
    pending_.push_back(traits_type::to_char_type(ch));
    Flush(false);
    return ch;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    Flush(false);
    return n;
  }
  int sync() override {
    Flush(false);
    return target_->pubsync();
  }

private:
  void Flush(bool all) {
    std::size_t whole = 0;
    while (whole < pending_.size()) {
      const bool cut = platform::AnsiIsLeadByte(pending_[whole]) && whole + 1 == pending_.size();
      if (cut && !all) break;
      whole += cut ? 1 : platform::AnsiCharLength(pending_, whole);
    }
    if (whole == 0) return;
    const std::string utf8 = platform::AnsiToUtf8(std::string_view(pending_).substr(0, whole));
    target_->sputn(utf8.data(), static_cast<std::streamsize>(utf8.size()));
    pending_.erase(0, whole);
  }

  std::streambuf* target_;
  std::string pending_;
};

TerminalOutput::TerminalOutput()
    : out_(std::make_unique<Buffer>(std::cout.rdbuf())),
      err_(std::make_unique<Buffer>(std::cerr.rdbuf())),
      previousOut_(std::cout.rdbuf(out_.get())),
      previousErr_(std::cerr.rdbuf(err_.get())) {}

TerminalOutput::~TerminalOutput() {
  std::cout.flush();
  std::cerr.flush();
  std::cout.rdbuf(previousOut_);
  std::cerr.rdbuf(previousErr_);
}

} // namespace grx::cli
