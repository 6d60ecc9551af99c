// FXBViewer, the block help viewer: shows the help page of one block type of a library package.
//
//   FXBViewer -korvalen PACKAGE -lib LIBRARY -comp TYPE [-lang de|sp|fr|it|en]
//
// The packages it knows are the values under Software\Halvorn\FXBViewer\Packages in the settings
// store, each naming the folder of a package; the page of a type is the text file
//   <package folder>\fxb\<library>\<language>\<TYPE>.txt
// in the ANSI code page, or the English one when the language has none. The viewer draws the page
// on its terminal and stays open until it is ended, or until the program that started it ends
// (its pages belong to that program's session). With FXBVIEWER_LOG naming a file, it appends
// what it does there: "<pid> open <arguments>", "<pid> page <file>" or "<pid> no page", and
// "<pid> closed" when it closes by itself.
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/child_process.h"
#include "platform/code_page.h"
#include "platform/file_search.h"
#include "platform/process.h"
#include "platform/settings_store.h"

namespace {

constexpr const char* kPackagesKey = "Software\\Halvorn\\FXBViewer\\Packages";

void Log(const std::string& line) {
  const auto file = grx::platform::EnvironmentValue("FXBVIEWER_LOG");
  if (!file || file->empty()) return;
  std::ofstream out(grx::platform::NativePath(*file), std::ios::app);
  out << grx::platform::CurrentProcessId() << ' ' << line << '\n';
}

struct Request {
  std::string package, library, type, language = "en";
};

bool ParseArguments(const std::vector<std::string>& arguments, Request& request) {
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    const std::string& flag = arguments[i];
    std::string* target = flag == "-korvalen" ? &request.package
                          : flag == "-lib"    ? &request.library
                          : flag == "-comp"   ? &request.type
                          : flag == "-lang"   ? &request.language
                                              : nullptr;
    if (target) *target = arguments[++i];
  }
  return !request.package.empty() && !request.library.empty() && !request.type.empty();
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(grx::platform::NativePath(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void Draw(const Request& request, const std::string& page) {
  const std::string title =
      "FXBViewer - " + request.type + " (" + request.package + " " + request.library + ", " + request.language + ")";
  const std::string rule(title.size() + 4, '=');
  std::cout << rule << "\n  " << grx::platform::AnsiToUtf8(title) << "\n"
            << rule << "\n"
            << grx::platform::AnsiToUtf8(page);
  if (!page.empty() && page.back() != '\n') std::cout << '\n';
  std::cout << rule << std::endl;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string joined;
  for (const std::string& a : arguments) joined += (joined.empty() ? "" : " ") + a;
  Log("open " + joined);
  Request request;
  if (!ParseArguments(arguments, request)) {
    std::cerr << "usage: FXBViewer -korvalen PACKAGE -lib LIBRARY -comp TYPE [-lang LANGUAGE]\n";
    Log("closed");
    return 2;
  }

  std::string page;
  const auto folder = grx::platform::ReadSettingText(grx::platform::Hive::LocalMachine, kPackagesKey, request.package);
  if (!folder) {
    page = "The package " + request.package + " is not installed.\n";
    Log("no page");
  } else {
    const std::string library = *folder + "\\fxb\\" + request.library + "\\";
    std::string file = library + request.language + "\\" + request.type + ".txt";
    if (!grx::platform::FindFirstFile(file)) file = library + "en\\" + request.type + ".txt";
    if (grx::platform::FindFirstFile(file)) {
      page = ReadFile(file);
      Log("page " + grx::platform::NativePath(file));
    } else {
      page = "There is no help for " + request.type + " in the library " + request.library + ".\n";
      Log("no page");
    }
  }
  Draw(request, page);

  const std::uint32_t starter = grx::platform::StarterProcessId();
  while (grx::platform::ProcessIsRunning(starter)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  Log("closed");
  return 0;
}
