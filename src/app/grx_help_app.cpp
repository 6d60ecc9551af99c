#include "app/grx_help_app.h"

#include <mutex>
#include <vector>

#include "w5tool/w5toolax.h"
#include "foundation/exceptions.h"
#include "platform/dynamic_library.h"

namespace grx::app {
namespace {

char moduleMarker;

// Never destroyed: steps are registered during static construction of other units and run when
// the application object ends, whatever the order of the units' static destruction.
std::vector<std::function<void()>>& UnloadSteps() {
  static auto* steps = new std::vector<std::function<void()>>();
  return *steps;
}

} // namespace

platform::ModuleState& LibraryModuleState() {
  // The library's own module supplies resources until a language module replaces it.
  static platform::ModuleState state = [] {
    void* self = platform::ModuleHandleOf(&moduleMarker);
    return platform::ModuleState{"w5lhlpax", self, self};
  }();
  return state;
}

void AddUnloadStep(std::function<void()> step) {
  UnloadSteps().push_back(std::move(step));
}

} // namespace grx::app

bool CGRXHelpApp::InitInstance() {
  auto& state = grx::app::LibraryModuleState();
  if (void* module = W5TL_LoadLanguageDllEx(state.instanceHandle, "w5lresax")) {
    m_hLanguageModule = module;
    m_hSavedResource = state.resourceHandle;
    state.resourceHandle = module;
  }
  ZEB::CModuleException::SetResourceHandle(state.resourceHandle);
  return CWinApp::InitInstance();
}

int CGRXHelpApp::ExitInstance() {
  ExitCleanup();
  return CWinApp::ExitInstance();
}

void CGRXHelpApp::ExitCleanup() {
  auto& state = grx::app::LibraryModuleState();
  if (m_hSavedResource) {
    state.resourceHandle = m_hSavedResource;
    m_hSavedResource = nullptr;
    ZEB::CModuleException::SetResourceHandle(state.resourceHandle);
  }
  if (m_hLanguageModule) {
    grx::platform::FreeHandle(m_hLanguageModule);
    m_hLanguageModule = nullptr;
  }
  auto& steps = grx::app::UnloadSteps();
  for (auto& step : steps) step();
  steps.clear();
}

namespace {

// The one application object, and the start and end of its instance with the library's load and
// unload.
CGRXHelpApp theApp;

struct InstanceLifetime {
  InstanceLifetime() { theApp.InitInstance(); }
  ~InstanceLifetime() { theApp.ExitInstance(); }
} instanceLifetime;

} // namespace

CGRXHelpApp& grx::app::TheApp() {
  return theApp;
}
