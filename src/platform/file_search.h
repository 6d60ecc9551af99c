// File search (_findfirst): whether a file exists. Paths may be written with backslashes as the
// Win32 build writes them; they are mapped to the separator of the OS here.
#pragma once

#include <string>

namespace grx::platform {

// The path with every backslash turned into the OS's separator.
std::string NativePath(const std::string& path);
// Whether a file (not a folder) of that path exists.
bool FindFirstFile(const std::string& path);
// A new, empty folder of the user's temporary folder whose name starts with prefix (only this
// process made it); empty when none can be made.
std::string CreateTemporaryFolder(const std::string& prefix);

} // namespace grx::platform
