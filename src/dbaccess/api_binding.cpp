#include "dbaccess/api_binding.h"

#include "dbaccess/es_log_client.h"
#include "dbaccess/install_error_box.h"
#include "platform/dynamic_library.h"

namespace grx::dbaccess {
namespace {

// The module handle of the API library: empty until the first successful load, never released.
std::atomic<void*> apiLibrary{nullptr};

} // namespace

int BindApiFunction(std::atomic<void*>& slot, const char* exportedName, bool report) {
  int outcome = kBound;
  void* library = apiLibrary.load(std::memory_order_acquire);
  if (!library) {
    platform::Module module = platform::Module::Load(kApiLibraryName);
    if (module) {
      // Concurrent first calls may both load; they store the same handle.
      library = module.Detach();
      apiLibrary.store(library, std::memory_order_release);
    } else {
      outcome = WRAP_PRIV_DLL_NOT_AVAIL;
    }
  }
  if (outcome == kBound && !slot.load(std::memory_order_acquire)) {
    void* entry = platform::FindInHandle(library, exportedName);
    if (entry) {
      slot.store(entry, std::memory_order_release);
    } else {
      outcome = WRAP_PRIV_FUNC_NOT_AVAIL;
    }
  }
  if (outcome != kBound && report) {
    const char* kind = outcome == WRAP_PRIV_FUNC_NOT_AVAIL ? "WRAP_PRIV_FUNC_NOT_AVAIL" : "WRAP_PRIV_DLL_NOT_AVAIL";
    if (DbTrace().on()) {
      DbTrace().DeliverFormatted("#####Error: %s: fktName=%s, wrap_DllName=%s, wrapperVersion=%s", kind, exportedName,
                                 kApiLibraryName, kWrapperVersion);
    }
    if (outcome == WRAP_PRIV_FUNC_NOT_AVAIL) {
      const char* args[] = {exportedName, kApiLibraryName, kWrapperVersion};
      ShowInstallError(kFunctionNotAvailable, args, 3);
    } else {
      const char* args[] = {kApiLibraryName, kWrapperVersion};
      ShowInstallError(kLibraryNotLoaded, args, 2);
    }
  }
  return outcome;
}

} // namespace grx::dbaccess
