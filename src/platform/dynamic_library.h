// Loading modules by the name a Win32 build passes to LoadLibrary ("Q3JDBMOX.DLL", "w5lresax")
// and finding their functions. On this platform a module "NAME.DLL" is the file NAME.so; it is
// looked for, in this order, beside the running program, beside the module that holds this
// code (the helper library), in an installed tree's module folder, in the folders of
// GRX_MODULE_PATH (separated by ':'), and then on the system's library path.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace grx::platform {

class Module {
public:
  Module() = default;
  Module(Module&& other) noexcept;
  Module& operator=(Module&& other) noexcept;
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  ~Module();

  // Loads the module; an empty Module when it cannot be found or loaded (error tells why).
  static Module Load(std::string_view name, std::string* error = nullptr);

  explicit operator bool() const { return handle_ != nullptr; }
  // The address of an exported function or object, or null.
  void* Find(const char* exportedName) const;
  // Keeps the module loaded for the rest of the process and gives up ownership.
  void* Detach();
  const std::string& path() const { return path_; }

private:
  Module(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  void* handle_ = nullptr;
  std::string path_;
};

// The file name a module name stands for ("Q3JDBMOX.DLL" -> "Q3JDBMOX.so").
std::string ModuleFileName(std::string_view name);
// The folders of the installation: the running program's, the helper library's and, in an
// installed tree, the module folder beside each (lib/w5lhlpax on this platform).
std::vector<std::string> InstallationFolders();
// The folders searched before the system's library path, in order: the installation's, then
// those of GRX_MODULE_PATH.
std::vector<std::string> ModuleSearchFolders();
// Finds an exported symbol in a handle returned by Detach.
void* FindInHandle(void* handle, const char* exportedName);
// The handle of the loaded module that contains the address (GetModuleHandleEx), without a
// reference of its own; null when there is none.
void* ModuleHandleOf(const void* address);
// The full file path of the loaded module that contains the address (GetModuleFileName); empty
// when there is none.
std::string ModuleFileOf(const void* address);
// Whether the module a name stands for is loaded in this process, by its file name and without
// loading it (GetModuleHandle).
bool ModuleIsLoaded(std::string_view name);
// Releases a handle returned by Detach (FreeLibrary).
void FreeHandle(void* handle);

} // namespace grx::platform
