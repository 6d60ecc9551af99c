// The stand-in's control interface (chartdb/q3sim_control.h): projects, descriptions, object
// paths, fault injection and counters for tools and tests.
#include <cstdio>
#include <filesystem>
#include <random>

#include "chartdb/q3sim_control.h"
#include "description.h"
#include "object_paths.h"
#include "runtime.h"

using namespace q3;

namespace {

template <class Body>
int Control(Body&& body) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  try {
    body(rt);
    SetLastError({});
    return 0;
  } catch (const std::exception& e) {
    SetLastError(e.what());
    return 1;
  }
}

// Files an import of the target left behind when its process was ended before it could clean up:
// TARGET.importing-XXXXXXXX and its journal.
void RemoveStaleImports(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  const std::string prefix = target.filename().string() + ".importing-";
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < prefix.size() + 8 || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    if (rest.size() != 8 && rest.substr(8) != "-journal") continue;
    std::error_code ignored;
    std::filesystem::remove(entry.path(), ignored);
  }
}

std::string TemporaryNameBeside(const std::filesystem::path& target) {
  std::random_device random;
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".importing-%08x", random());
  return target.string() + suffix;
}

} // namespace

Q3_EXPORT int q3sim_OpenProject(const char* path, int mode) {
  return Control([&](Runtime& rt) {
    if (!path || !*path) throw std::invalid_argument("no project path given");
    if (mode != Q3SIM_OPEN_EXISTING && mode != Q3SIM_OPEN_CREATE && mode != Q3SIM_OPEN_READ_ONLY) {
      throw std::invalid_argument("no open mode " + std::to_string(mode));
    }
    const bool memory = std::string(path) == ":memory:";
    if (mode != Q3SIM_OPEN_CREATE && !memory && !std::filesystem::exists(path)) {
      throw std::runtime_error(std::string("no such project file: ") + path);
    }
    rt.Open(path, mode == Q3SIM_OPEN_CREATE || memory, mode == Q3SIM_OPEN_READ_ONLY && !memory);
  });
}

Q3_EXPORT int q3sim_BeginSession() {
  return Control([](Runtime& rt) { rt.Store().BeginSession(); });
}

Q3_EXPORT int q3sim_EndSession(int commit, int* changed) {
  return Control([&](Runtime& rt) {
    const bool didChange = rt.Store().EndSession(commit != 0);
    if (changed) *changed = didChange ? 1 : 0;
  });
}

Q3_EXPORT int q3sim_CloseProject() {
  return Control([](Runtime& rt) { rt.Close(); });
}

Q3_EXPORT const char* q3sim_LastError() {
  return LastError().c_str();
}

// Imports into a file beside the target and renames it into place only when the whole
// description went in, so that a failure leaves nothing half-written.
Q3_EXPORT int q3sim_ImportDescription(const char* json, const char* path) {
  return Control([&](Runtime& rt) {
    if (!json || !path || !*path) throw std::invalid_argument("description and project path are needed");
    const std::string target = path;
    if (target == ":memory:") {
      auto store = ProjectStore::Open(target, true);
      store->SetSoftwareVersion(rt.SoftwareVersion());
      ImportDescription(*store, json);
      rt.Adopt(std::move(store));
      return;
    }
    RemoveStaleImports(target);
    const std::string temporary = TemporaryNameBeside(target);
    try {
      {
        auto store = ProjectStore::Open(temporary, true);
        store->SetSoftwareVersion(rt.SoftwareVersion());
        ImportDescription(*store, json);
      }
      if (rt.HasProject() && std::filesystem::exists(target) && rt.Store().path() == target) {
        rt.Close();
      }
      std::filesystem::rename(temporary, target);
    } catch (...) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      std::filesystem::remove(temporary + "-journal", ignored);
      throw;
    }
  });
}

Q3_EXPORT int q3sim_ExportDescription(const char** json) {
  return Control([&](Runtime& rt) {
    if (!json) throw std::invalid_argument("no place for the text");
    std::string& text = ThreadText("export");
    text = ExportDescription(rt.Store());
    *json = text.c_str();
  });
}

Q3_EXPORT int q3sim_ResolvePath(const char* path, GlObjectId* id) {
  return Control([&](Runtime& rt) {
    if (!path || !id) throw std::invalid_argument("path and id are needed");
    *id = ResolvePath(rt.Store(), path);
  });
}

Q3_EXPORT int q3sim_PathOf(GlObjectId id, const char** path) {
  return Control([&](Runtime& rt) {
    if (!path) throw std::invalid_argument("no place for the text");
    std::string& text = ThreadText("path");
    text = PathOf(rt.Store(), id);
    *path = text.c_str();
  });
}

Q3_EXPORT int q3sim_InjectFault(const char* function, std::uint32_t errorId, std::uint32_t firstCall,
                                std::uint32_t count) {
  return Control([&](Runtime& rt) {
    if (!function || !*function) throw std::invalid_argument("no function named");
    if (errorId == 0 || errorId > 0xFFFFFF) throw std::invalid_argument("error ids have 1 to 24 bits");
    rt.faults().Inject(function, errorId, firstCall, count);
  });
}

Q3_EXPORT int q3sim_ClearFaults() {
  return Control([](Runtime& rt) { rt.faults().Clear(); });
}

Q3_EXPORT std::uint64_t q3sim_CallCount(const char* function) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  return function ? rt.CallCount(function) : 0;
}

Q3_EXPORT int q3sim_ResetCallCounts() {
  return Control([](Runtime& rt) { rt.ResetCallCounts(); });
}

Q3_EXPORT std::uint64_t q3sim_ErrorHandlerCalls(std::uint32_t* lastErrorId) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  return rt.errorHandlerCalls(lastErrorId);
}

Q3_EXPORT std::size_t q3sim_ObjectSetContents(GlObjectSet set, GlObjectId* ids, std::size_t capacity) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  if (!rt.HasProject()) return 0;
  const auto contents = rt.Store().ObjectSetContents(set);
  if (!contents) return 0;
  for (std::size_t i = 0; i < contents->size() && i < capacity && ids; ++i) ids[i] = (*contents)[i];
  return contents->size();
}

Q3_EXPORT int q3sim_SetSoftwareVersion(const char* version) {
  return Control([&](Runtime& rt) { rt.SetSoftwareVersion(version); });
}

Q3_EXPORT int q3sim_Controllers(GlObjectId* ids, std::size_t capacity, std::size_t* count) {
  return Control([&](Runtime& rt) {
    if (!count) throw std::invalid_argument("no place for the count");
    const auto controllers = rt.Store().ObjectsOfType(IEC_OBJ_RESOURCE);
    for (std::size_t i = 0; i < controllers.size() && i < capacity && ids; ++i) ids[i] = controllers[i].id;
    *count = controllers.size();
  });
}
