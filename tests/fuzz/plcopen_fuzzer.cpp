// The TC6 XML reader on any bytes: a project description or PlcOpenError, never a crash; what it
// reads, the writer writes as well-formed XML.
#include <pugixml.hpp>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "plcopen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string xml(reinterpret_cast<const char*>(data), size);
  grx::plcopen::ReadResult read;
  try {
    read = grx::plcopen::ReadProject(xml, "fuzz.xml");
  } catch (const grx::plcopen::PlcOpenError& e) {
    if (e.line() < 1 || e.column() < 1) std::abort();
    return 0;
  }
  std::ostringstream out;
  grx::plcopen::WriteProject(nlohmann::json(read.description), out);
  pugi::xml_document written;
  const std::string text = out.str();
  if (!written.load_buffer(text.data(), text.size())) std::abort();
  return 0;
}
