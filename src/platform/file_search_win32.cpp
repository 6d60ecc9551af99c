// Files on Win32: paths keep their backslashes; a file is found with _findfirst.
#include <direct.h>
#include <io.h>
#include <process.h>

#include <atomic>
#include <filesystem>

#include "platform/file_search.h"

namespace grx::platform {

std::string NativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native) {
    if (c == '/') c = '\\';
  }
  return native;
}

bool FindFirstFile(const std::string& path) {
  _finddata_t found{};
  const intptr_t handle = _findfirst(NativePath(path).c_str(), &found);
  if (handle == -1) return false;
  _findclose(handle);
  return (found.attrib & _A_SUBDIR) == 0;
}

std::string CreateTemporaryFolder(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  std::error_code ec;
  const auto temporary = std::filesystem::temp_directory_path(ec);
  if (ec) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate =
        (temporary / (prefix + std::to_string(_getpid()) + "-" + std::to_string(counter++))).string();
    if (_mkdir(candidate.c_str()) == 0) return candidate; // fails when it exists
  }
  return {};
}

} // namespace grx::platform
