// The TC6 reader and writer of a build without pugixml (the Windows build).
#include "plcopen.h"

namespace grx::plcopen {
namespace {

[[noreturn]] void Unavailable(const std::string& file) {
  throw PlcOpenError(file, 1, 1, "this grx was built without PLCopen TC6 XML support (pugixml)");
}

} // namespace

SourcePlace ReadResult::PlaceOf(const std::string&) const {
  return SourcePlace{"", 1, 1};
}

bool LooksLikeXml(const std::string& text) {
  std::size_t i = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  return i < text.size() && text[i] == '<';
}

ReadResult ReadProject(std::string, const std::string& fileName, const std::string&) {
  Unavailable(fileName);
}

void WriteProject(const nlohmann::json&, std::ostream&) {
  Unavailable("-");
}

} // namespace grx::plcopen
