// Fuzzes the block-type catalogue reader: any text either gives a catalogue or a CatalogueError,
// never a crash, a leak or undefined behaviour; what it gives is read again unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "block_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const w5imp::Catalogue catalogue = w5imp::ParseCatalogue(text);
    for (const auto& package : catalogue.packages) {
      for (const auto& type : package.blockTypes) {
        if (type.description.empty() || type.name.empty()) __builtin_trap();
      }
    }
  } catch (const w5imp::CatalogueError&) {
  }
  return 0;
}
