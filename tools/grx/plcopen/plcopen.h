// PLCopen TC6 XML 2.01 projects (IEC 61131-10) in and out: a TC6 file read into a project
// description, and a project description written as a TC6 file (docs/plcopen.md).
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace grx::plcopen {

inline constexpr const char* kNamespace = "http://www.plcopen.org/xml/tc6_0201";

// A file that cannot be read; the text starts with "FILE:LINE:COLUMN: ".
class PlcOpenError : public std::runtime_error {
public:
  PlcOpenError(const std::string& file, int line, int column, const std::string& what)
      : std::runtime_error(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + what),
        file_(file),
        line_(line),
        column_(column) {}
  const std::string& file() const { return file_; }
  int line() const { return line_; }
  int column() const { return column_; }

private:
  std::string file_;
  int line_;
  int column_;
};

struct Warning {
  std::string file;
  int line = 0;
  std::string text;
  // "FILE:LINE: TEXT"
  std::string Text() const { return file + ":" + std::to_string(line) + ": " + text; }
};

// Where in the file an object of the description comes from, by the JSON path of its node.
struct SourcePlace {
  std::string path;
  int line = 0;
  int column = 0;
};

struct ReadResult {
  nlohmann::ordered_json description; // UTF-8 texts
  std::vector<Warning> warnings;
  std::vector<SourcePlace> places; // the nodes on the way to the located path

  // The place of the deepest node whose path starts the given JSON path (a fault the import of the
  // description reports); the file's first line when none does.
  SourcePlace PlaceOf(const std::string& jsonPath) const;
};

// True when the text is an XML document (by its first characters), not a JSON description.
bool LooksLikeXml(const std::string& text);

// Reads a TC6 file (its bytes, which the reader keeps while it reads); fileName is only used in
// messages. Throws PlcOpenError. With a JSON path of the description to locate (a fault the
// chart database reported), places holds where the nodes on the way to it come from.
ReadResult ReadProject(std::string xml, const std::string& fileName, const std::string& locate = {});

// Writes a project description (UTF-8 texts, as the chart database exports it) as a TC6 file.
void WriteProject(const nlohmann::json& description, std::ostream& out);

} // namespace grx::plcopen
