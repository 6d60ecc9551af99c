// Win32 implementation of file versions: the version resource through GetFileVersionInfoA and
// VerQueryValueA.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "file_version.h"

namespace grx::platform {
namespace {

std::string StringValue(std::vector<char>& block, const char* language, const char* name) {
  char path[128];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%s\\%s", language, name);
  char* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&text), &length) || !text) return {};
  return std::string(text, length > 0 && text[length - 1] == '\0' ? length - 1 : length);
}

} // namespace

std::optional<FileVersion> ReadFileVersion(const std::string& file, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<FileVersion> {
    if (error) *error = file + ": " + why + " (error " + std::to_string(GetLastError()) + ")";
    return std::nullopt;
  };
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return fail("carries no version resource");
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return fail("its version resource cannot be read");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return fail("its version resource has no fixed part");
  }
  FileVersion version;
  char number[64];
  std::snprintf(number, sizeof number, "%lu.%lu.%lu.%lu", static_cast<unsigned long>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned long>(LOWORD(fixed->dwFileVersionMS)),
                static_cast<unsigned long>(HIWORD(fixed->dwFileVersionLS)),
                static_cast<unsigned long>(LOWORD(fixed->dwFileVersionLS)));
  version.version = number;
  // The texts of the first language the resource lists.
  struct Translation {
    WORD language;
    WORD codePage;
  }* translation = nullptr;
  char language[16] = "040904B0";
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
      translation && length >= sizeof(Translation)) {
    std::snprintf(language, sizeof language, "%04X%04X", translation->language, translation->codePage);
  }
  version.productVersion = StringValue(block, language, "ProductVersion");
  version.description = StringValue(block, language, "FileDescription");
  version.originalName = StringValue(block, language, "OriginalFilename");
  return version;
}

} // namespace grx::platform
