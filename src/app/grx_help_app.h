// The application object of the helper library: built when the library is loaded, it makes the
// language resource library the source of all strings and dialogs, and gives it back at unload.
#pragma once

#include <functional>

#include "app/win_app.h"
#include "platform/module_state.h"

class CGRXHelpApp : public CWinApp {
public:
  CGRXHelpApp() = default;

  bool InitInstance() override;
  int ExitInstance() override;
  virtual void ExitCleanup();

  void* languageModule() const { return m_hLanguageModule; }

private:
  void* m_hLanguageModule = nullptr; // language resource library, null when none was loaded
  void* m_hSavedResource = nullptr;  // the resource handle it replaced
};

namespace grx::app {

CGRXHelpApp& TheApp();
// The library's own module state, which every export makes current for its call.
platform::ModuleState& LibraryModuleState();
// Steps that run last at unload (the object model's teardown registers here).
void AddUnloadStep(std::function<void()> step);

} // namespace grx::app
