// File search (_findfirst): whether a file exists. Paths may be written with backslashes as the
// Win32 build writes them; they are mapped to the separator of the OS here.
#pragma once

#include <string>

namespace grx::platform {

// The path with every backslash turned into the OS's separator.
std::string NativePath(const std::string& path);
// Whether a file (not a folder) of that path exists.
bool FindFirstFile(const std::string& path);

} // namespace grx::platform
