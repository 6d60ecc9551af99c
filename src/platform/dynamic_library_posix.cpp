// POSIX implementation of module loading (a Win32 build uses LoadLibraryA/GetProcAddress).
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "platform/code_page.h"
#include "dynamic_library.h"

// An installation's module folder relative to its programs and to its library (the build
// defines both; a program built without them searches no installed tree).
#ifndef GRX_MODULES_FROM_PROGRAM
#define GRX_MODULES_FROM_PROGRAM ""
#endif
#ifndef GRX_MODULES_FROM_LIBRARY
#define GRX_MODULES_FROM_LIBRARY ""
#endif

namespace grx::platform {
namespace {

std::string FolderOfThisModule() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&FolderOfThisModule), &info) == 0 || !info.dli_fname) {
    return {};
  }
  std::error_code ec;
  const auto path = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::string() : path.parent_path().string();
}

std::string FolderOfProgram() {
  std::error_code ec;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.parent_path().string();
}

} // namespace

Module::Module(Module&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
  other.handle_ = nullptr;
}

Module& Module::operator=(Module&& other) noexcept {
  if (this != &other) {
    if (handle_) dlclose(handle_);
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    other.handle_ = nullptr;
  }
  return *this;
}

Module::~Module() {
  if (handle_) dlclose(handle_);
}

std::string ModuleFileName(std::string_view name) {
  std::string file(name);
  const std::string lower = AnsiLower(file);
  if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".dll") == 0) {
    file.resize(file.size() - 4);
  }
  const auto slash = file.find_last_of('/');
  const auto dot = file.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot == std::string::npos) {
    file += GRX_MODULE_SUFFIX;
  }
  return file;
}

std::vector<std::string> InstallationFolders() {
  std::vector<std::string> folders;
  auto add = [&](const std::string& folder) {
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  };
  // An installed tree keeps its modules in a folder of their own (lib/w5lhlpax); a build tree
  // has none, and a program or library there finds the modules beside itself.
  auto addModuleFolder = [&](const std::string& base, const char* relative) {
    if (base.empty() || !*relative || std::string_view(relative) == ".") return;
    std::error_code ec;
    const auto folder = (std::filesystem::path(base) / relative).lexically_normal();
    if (std::filesystem::is_directory(folder, ec)) add(folder.string());
  };
  const std::string program = FolderOfProgram();
  const std::string library = FolderOfThisModule();
  add(program);
  add(library);
  addModuleFolder(program, GRX_MODULES_FROM_PROGRAM);
  addModuleFolder(library, GRX_MODULES_FROM_LIBRARY);
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
    std::size_t start = 0;
    while (start <= list.size()) {
      const auto end = list.find(':', start);
      add(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return folders;
}

Module Module::Load(std::string_view name, std::string* error) {
  const std::string file = ModuleFileName(name);
  std::string problems;
  auto tryOpen = [&](const std::string& candidate) -> void* {
    dlerror();
    void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      if (why && std::filesystem::exists(candidate)) problems += std::string(why) + "; ";
    }
    return handle;
  };
  if (file.find('/') != std::string::npos) {
    if (void* handle = tryOpen(file)) return Module(handle, file);
  } else {
    for (const auto& folder : ModuleSearchFolders()) {
      const std::string candidate = folder + "/" + file;
      if (void* handle = tryOpen(candidate)) return Module(handle, candidate);
    }
    dlerror();
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      // Found on the system's library path: the file the loader took.
      link_map* map = nullptr;
      const bool known = dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name;
      return Module(handle, known ? std::string(map->l_name) : file);
    }
  }
  if (error) {
    *error =
        "cannot load " + std::string(name) + " (" + file + ")" + (problems.empty() ? ": not found" : ": " + problems);
  }
  return Module();
}

void* Module::Find(const char* exportedName) const {
  return handle_ ? dlsym(handle_, exportedName) : nullptr;
}

void* Module::Detach() {
  void* handle = handle_;
  handle_ = nullptr;
  return handle;
}

bool ModuleIsLoaded(std::string_view name) {
  const std::string file = ModuleFileName(name);
  struct Search {
    const std::string* file;
    bool found;
  } search{&file, false};
  dl_iterate_phdr(
      [](dl_phdr_info* info, std::size_t, void* data) -> int {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_name && std::filesystem::path(info->dlpi_name).filename() == *s->file) s->found = true;
        return s->found ? 1 : 0;
      },
      &search);
  return search.found;
}

void* FindInHandle(void* handle, const char* exportedName) {
  return handle ? dlsym(handle, exportedName) : nullptr;
}

void* ModuleHandleOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || !info.dli_fname) return nullptr;
  std::error_code ec;
  const bool program = std::filesystem::equivalent(info.dli_fname, "/proc/self/exe", ec);
  void* handle = program ? dlopen(nullptr, RTLD_LAZY) : dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle); // the module stays loaded: it holds the address
  return handle;
}

std::string ModuleFileOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || !info.dli_fname) return std::string();
  return info.dli_fname;
}

void FreeHandle(void* handle) {
  if (handle) dlclose(handle);
}

} // namespace grx::platform
