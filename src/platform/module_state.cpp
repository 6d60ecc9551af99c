#include "platform/module_state.h"

namespace grx::platform {
namespace {
ModuleState hostState{"host", nullptr, nullptr};
thread_local ModuleState* current = nullptr;
} // namespace

ModuleState* CurrentModuleState() {
  return current ? current : &hostState;
}

ModuleStateGuard::ModuleStateGuard(ModuleState& state) : previous_(current) {
  current = &state;
}

ModuleStateGuard::~ModuleStateGuard() {
  current = previous_;
}

} // namespace grx::platform
