// grx's edge between the terminal (UTF-8) and the library's narrow texts (ANSI code page):
// arguments that name objects or carry texts are converted on the way in, everything grx
// prints on the way out, and JSON is made from the code page's texts.
#pragma once

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace grx::cli {

// The argument in the code page; a usage error naming it when the code page cannot hold it.
std::string FromTerminal(const std::string& argument);
void FromTerminal(std::vector<std::string>& arguments);

// The JSON text of a value whose texts are in the code page, as a text in the code page (the
// output conversion makes it UTF-8 again). indent as nlohmann::json::dump.
std::string JsonText(const nlohmann::ordered_json& value, int indent = 2);
std::string JsonText(const nlohmann::json& value, int indent = 2);

// While it lives, what goes to std::cout and std::cerr is converted from the code page to UTF-8.
class TerminalOutput {
public:
  TerminalOutput();
  ~TerminalOutput();
  TerminalOutput(const TerminalOutput&) = delete;
  TerminalOutput& operator=(const TerminalOutput&) = delete;

private:
  class Buffer;
  std::unique_ptr<Buffer> out_;
  std::unique_ptr<Buffer> err_;
  std::streambuf* previousOut_;
  std::streambuf* previousErr_;
};

} // namespace grx::cli
