// Module states: which module supplies resources (strings, dialogs) to the code that runs. Each
// thread has a current module state; an export switches to its library's state for the whole
// call (as AFX_MAINTAIN_STATE2 with AfxGetStaticModuleState does in a Win32 build).
#pragma once

namespace grx::platform {

struct ModuleState {
  const char* moduleName = "";
  void* instanceHandle = nullptr; // the module itself
  void* resourceHandle = nullptr; // where resources come from: the module or a language module
};

// The calling thread's current module state (the host's when no export runs).
ModuleState* CurrentModuleState();

// Makes a module state current for its lifetime and restores the previous one on every way out.
class ModuleStateGuard {
public:
  explicit ModuleStateGuard(ModuleState& state);
  ~ModuleStateGuard();
  ModuleStateGuard(const ModuleStateGuard&) = delete;
  ModuleStateGuard& operator=(const ModuleStateGuard&) = delete;

private:
  ModuleState* previous_;
};

} // namespace grx::platform
