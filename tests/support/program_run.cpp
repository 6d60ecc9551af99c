#include "program_run.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/process.h"

namespace grx::testing {

std::vector<std::string> ShellWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\'') {
      const std::size_t end = text.find('\'', i + 1);
      if (end == std::string::npos) throw std::invalid_argument("unterminated ' in: " + text);
      word += text.substr(i + 1, end - i - 1);
      i = end;
    } else if (c == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        // Inside double quotes a backslash keeps its meaning only before \ " $ `.
        if (text[i] == '\\' && i + 1 < text.size() && std::string("\\\"$`").find(text[i + 1]) != std::string::npos) {
          ++i;
        }
        word += text[i];
      }
      if (i >= text.size()) throw std::invalid_argument("unterminated \" in: " + text);
    } else if (c == '\\' && i + 1 < text.size() && std::string("'\" \t\n").find(text[i + 1]) != std::string::npos) {
      word += text[++i];
    } else {
      word += c;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

ProgramRun RunBuiltProgram(const std::string& program, const std::string& arguments, const std::string& environment,
                           const std::vector<std::string>& unset, bool withErrors) {
  std::vector<std::unique_ptr<platform::ScopedEnvironmentValue>> values;
  for (const std::string& name : unset) {
    values.push_back(std::make_unique<platform::ScopedEnvironmentValue>(name, std::nullopt));
  }
  for (const std::string& word : ShellWords(environment)) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) throw std::invalid_argument("not NAME=value: " + word);
    values.push_back(
        std::make_unique<platform::ScopedEnvironmentValue>(word.substr(0, equals), word.substr(equals + 1)));
  }
  const platform::CommandResult result = platform::RunProgram(program, ShellWords(arguments), withErrors);
  ProgramRun run{result.exitCode, std::string()};
  run.out.reserve(result.output.size());
  for (std::size_t i = 0; i < result.output.size(); ++i) {
    if (result.output[i] == '\r' && i + 1 < result.output.size() && result.output[i + 1] == '\n') continue;
    run.out += result.output[i];
  }
  return run;
}

std::string ProgramFolder() {
  return std::filesystem::path(platform::ExecutableFile()).parent_path().string();
}

} // namespace grx::testing
