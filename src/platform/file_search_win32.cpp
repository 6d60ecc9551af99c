// Files on Win32: paths keep their backslashes; a file is found with _findfirst.
#include <io.h>

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

} // namespace grx::platform
