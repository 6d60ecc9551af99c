// POSIX implementation of file versions: the ELF dynamic section's SONAME and the version the
// file's own name ends in (the Win32 build reads the version resource).
#include <elf.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "file_version.h"

namespace grx::platform {
namespace {

template <typename T>
bool ReadAt(const std::vector<char>& bytes, std::uint64_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

// The SONAME of a 64-bit ELF shared object, or "" when it has none.
std::optional<std::string> SharedObjectName(const std::vector<char>& bytes, std::string& why) {
  Elf64_Ehdr header{};
  if (!ReadAt(bytes, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64) {
    why = "not a 64-bit ELF file";
    return std::nullopt;
  }
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!ReadAt(bytes, header.e_shoff + i * sizeof(Elf64_Shdr), sections[i])) {
      why = "its section table is cut short";
      return std::nullopt;
    }
  }
  for (const Elf64_Shdr& dynamic : sections) {
    if (dynamic.sh_type != SHT_DYNAMIC || dynamic.sh_link >= sections.size()) continue;
    const Elf64_Shdr& strings = sections[dynamic.sh_link];
    for (std::uint64_t at = 0; at + sizeof(Elf64_Dyn) <= dynamic.sh_size; at += sizeof(Elf64_Dyn)) {
      Elf64_Dyn entry{};
      if (!ReadAt(bytes, dynamic.sh_offset + at, entry) || entry.d_tag == DT_NULL) break;
      if (entry.d_tag != DT_SONAME) continue;
      const std::uint64_t first = strings.sh_offset + entry.d_un.d_val;
      if (entry.d_un.d_val >= strings.sh_size || first >= bytes.size()) break;
      const char* text = bytes.data() + first;
      return std::string(text, strnlen(text, bytes.size() - first));
    }
  }
  return std::string();
}

} // namespace

std::optional<FileVersion> ReadFileVersion(const std::string& file, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<FileVersion> {
    if (error) *error = file + ": " + why;
    return std::nullopt;
  };
  std::error_code ec;
  const auto real = std::filesystem::canonical(file, ec);
  if (ec) return fail(ec.message());
  std::ifstream in(real, std::ios::binary);
  if (!in) return fail("cannot be read");
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string why;
  const auto soname = SharedObjectName(bytes, why);
  if (!soname) return fail(why);
  // libNAME.so.1.0.0: the version follows the ".so." of the file the links lead to.
  const std::string name = real.filename().string();
  const auto so = name.find(".so.");
  if (so == std::string::npos) return fail("its file name carries no version");
  FileVersion version;
  version.version = name.substr(so + 4);
  version.productVersion = version.version;
  version.originalName = *soname;
  return version;
}

} // namespace grx::platform
