// The block-type catalogue of the engineering system: the technology packages it can import and
// their block types, read from a JSON file (docs/block-catalogue.md). Texts are kept in the ANSI
// code page; each block type also keeps its description for the chart database (UTF-8 JSON, a
// "blockTypes" entry of a project description, its library set to the package).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "grx/com_types.h"

namespace w5imp {

class CatalogueError : public std::runtime_error {
public:
  explicit CatalogueError(const std::string& what, bool unreadable = false)
      : std::runtime_error(what), unreadable_(unreadable) {}
  // The file could not be read (rather than not being a catalogue).
  bool unreadable() const { return unreadable_; }

private:
  bool unreadable_;
};

struct CatalogueBlockType {
  std::string name;
  std::string description;   // for q3sim_BlockTypeWrite
  std::int32_t category = 2; // of the block-type record: a library block
  std::int32_t inputCount = 2;
};

struct CataloguePackage {
  std::string name;
  std::string version;
  std::uint32_t languageId = 0;
  grx::platform::GUID rtTypeGuid{};
  grx::platform::GUID interfaceGuid{};
  bool isLibrary = true;
  std::vector<grx::platform::GUID> mappedTypes;
  std::vector<CatalogueBlockType> blockTypes;
};

struct Catalogue {
  std::vector<CataloguePackage> packages;
};

inline constexpr const char* kCatalogueFormat = "grx-block-catalogue/1";

// Reads a catalogue from its text; CatalogueError names the JSON path of what is wrong.
Catalogue ParseCatalogue(const std::string& utf8Json);
// Reads the catalogue file; CatalogueError when it cannot be read or is not a catalogue.
Catalogue ReadCatalogue(const std::string& file);

} // namespace w5imp
