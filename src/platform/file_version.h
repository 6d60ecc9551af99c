// The version a module or program file carries: on Windows its version resource
// (GetFileVersionInfo, VerQueryValue), on this platform the version in the shared object's file
// name (libw5lhlpax.so.1.0.0) and its SONAME.
#pragma once

#include <optional>
#include <string>

namespace grx::platform {

struct FileVersion {
  std::string version;        // the file version: "1.0.0.0" from a version resource, "1.0.0" from a file name
  std::string productVersion; // the product version text
  std::string description;    // what the file is; empty where files carry no description
  std::string originalName;   // the original file name, or the SONAME of a shared object
};

// The file's version, or nullopt with the reason in error when the file cannot be read or
// carries none.
std::optional<FileVersion> ReadFileVersion(const std::string& file, std::string* error = nullptr);

} // namespace grx::platform
