// Win32 implementation of module loading: LoadLibraryA, GetProcAddress, FreeLibrary.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "dynamic_library.h"
#include "platform/code_page.h"

namespace grx::platform {
namespace {

std::string FolderOf(HMODULE module) {
  char path[MAX_PATH] = {0};
  const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
  if (n == 0 || n == MAX_PATH) return {};
  std::string file(path, n);
  const auto slash = file.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

} // namespace

Module::Module(Module&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = nullptr;
}

Module& Module::operator=(Module&& other) noexcept {
  if (this != &other) {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    other.handle_ = nullptr;
  }
  return *this;
}

Module::~Module() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

std::string ModuleFileName(std::string_view name) {
  std::string file(name);
  const auto slash = file.find_last_of("\\/");
  if (file.find('.', slash == std::string::npos ? 0 : slash + 1) == std::string::npos) file += ".dll";
  return file;
}

std::vector<std::string> InstallationFolders() {
  // An installation keeps every module beside its programs.
  std::vector<std::string> folders;
  for (const std::string& folder : {FolderOf(nullptr), FolderOf(ThisModule())}) {
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  return folders;
}

std::vector<std::string> ModuleSearchFolders() {
  std::vector<std::string> folders = InstallationFolders();
  auto add = [&](const std::string& folder) {
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  };
  if (const char* extra = std::getenv("GRX_MODULE_PATH")) {
    std::string list = extra;
    for (std::size_t start = 0; start <= list.size();) {
      const auto end = list.find(';', start);
      add(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return folders;
}

Module Module::Load(std::string_view name, std::string* error) {
  const std::string file = ModuleFileName(name);
  DWORD lastError = 0;
  auto tryOpen = [&](const std::string& candidate) -> HMODULE {
    HMODULE handle = LoadLibraryExA(candidate.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!handle && GetLastError() != ERROR_MOD_NOT_FOUND) lastError = GetLastError();
    return handle;
  };
  if (file.find_first_of("\\/") != std::string::npos) {
    if (HMODULE handle = tryOpen(file)) return Module(handle, file);
  } else {
    for (const auto& folder : ModuleSearchFolders()) {
      const std::string candidate = folder + "\\" + file;
      if (GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
      if (HMODULE handle = tryOpen(candidate)) return Module(handle, candidate);
    }
    if (HMODULE handle = LoadLibraryA(file.c_str())) return Module(handle, file);
  }
  if (error) {
    *error = "cannot load " + std::string(name) + " (" + file + ")" +
             (lastError == 0 ? ": not found" : ": error " + std::to_string(lastError));
  }
  return Module();
}

void* Module::Find(const char* exportedName) const {
  return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), exportedName)) : nullptr;
}

bool ModuleIsLoaded(std::string_view name) {
  return GetModuleHandleA(ModuleFileName(name).c_str()) != nullptr;
}

void* Module::Detach() {
  void* handle = handle_;
  handle_ = nullptr;
  return handle;
}

void* FindInHandle(void* handle, const char* exportedName) {
  return handle ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), exportedName)) : nullptr;
}

void* ModuleHandleOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module)) {
    return nullptr;
  }
  return module;
}

std::string ModuleFileOf(const void* address) {
  void* module = ModuleHandleOf(address);
  if (!module) return {};
  char path[MAX_PATH] = {0};
  const DWORD n = GetModuleFileNameA(static_cast<HMODULE>(module), path, MAX_PATH);
  return std::string(path, n);
}

void FreeHandle(void* handle) {
  if (handle) FreeLibrary(static_cast<HMODULE>(handle));
}

} // namespace grx::platform
