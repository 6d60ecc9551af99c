#include "platform/file_search.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>

namespace grx::platform {

std::string NativePath(const std::string& path) {
  std::string native = path;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

bool FindFirstFile(const std::string& path) {
  struct stat info {};
  return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string CreateTemporaryFolder(const std::string& prefix) {
  std::error_code ec;
  const auto temporary = std::filesystem::temp_directory_path(ec);
  if (ec) return {};
  std::string pattern = (temporary / (prefix + "XXXXXX")).string();
  return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

} // namespace grx::platform
