#include "foundation/module_trace.h"

#include <filesystem>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/dynamic_library.h"
#include "platform/thread_id.h"

namespace {

using SettingGetValueFn = std::uint32_t (*)(std::int32_t, std::int32_t, const wchar_t*, std::uint32_t*);

std::once_flag bindOnce;
TraceDll traceDll;

// The file name and extension of the module that holds this code.
void FindModuleName(char (&name)[260]) {
  const std::string file = grx::platform::ModuleFileOf(reinterpret_cast<const void*>(&FindModuleName));
  if (file.empty()) return;
  std::snprintf(name, sizeof name, "%s", std::filesystem::path(file).filename().string().c_str());
}

bool SilentTraceSetting() {
  grx::platform::Module tools = grx::platform::Module::Load("w5toolax.dll");
  if (!tools) return false;
  auto* getValue = reinterpret_cast<SettingGetValueFn>(tools.Find("W5TL_SettingGetValue"));
  if (!getValue) return false;
  std::uint32_t value = 0;
  return getValue(18, 1, L"silent-trace", &value) == 0 && value > 0;
}

void AtProcessExit() {
  TraceDll& dll = traceDll;
  if (dll.bound && dll.deInit && dll.deInit(&dll.handle) == 0) {
    grx::platform::OutputDebugText("warning: calling traceapi_DeInit2 failed\n");
  }
  if (dll.library) {
    grx::platform::FreeHandle(dll.library);
    dll.library = nullptr;
  }
}

void Bind() {
  TraceDll& dll = traceDll;
  grx::platform::Module library = grx::platform::Module::Load("w5wtrcax.dll");
  if (library) {
    dll.library = library.Detach();
    dll.init = reinterpret_cast<TraceInit2Fn>(grx::platform::FindInHandle(dll.library, "traceapi_Init2"));
    if (dll.init && dll.init(nullptr, 0, &dll.handle, nullptr) != 0) {
      dll.vtraceMsg = reinterpret_cast<VTraceMsg2Fn>(grx::platform::FindInHandle(dll.library, "VTraceMsg2"));
      dll.isReleased =
          reinterpret_cast<IsTraceReleased2Fn>(grx::platform::FindInHandle(dll.library, "IsTraceReleased2"));
      dll.deInit = reinterpret_cast<TraceDeInit2Fn>(grx::platform::FindInHandle(dll.library, "traceapi_DeInit2"));
      dll.msgSilent = reinterpret_cast<TraceMsgSilentFn>(grx::platform::FindInHandle(dll.library, "TraceMsgSilent"));
      dll.bound = true;
    }
  }
  if (dll.bound) {
    FindModuleName(dll.moduleName);
    dll.silent = SilentTraceSetting();
  }
  std::atexit(AtProcessExit);
}

// Copies at most the field's width, padding with zeros; a source that fills the field leaves it
// without a terminating zero.
template <std::size_t N>
void FillField(char (&field)[N], const char* source) {
  std::memset(field, 0, N);
  if (source) std::memcpy(field, source, strnlen(source, N));
}

} // namespace

TraceDll& GetTraceDll() {
  std::call_once(bindOnce, Bind);
  return traceDll;
}

void TraceWrite(TraceContext& context, const char* format, ...) {
  TraceDll& dll = GetTraceDll();
  const auto level = static_cast<std::uint32_t>(context.level);
  if (dll.vtraceMsg && dll.isReleased && dll.isReleased(dll.handle, dll.component, dll.subcomponent, level) != 0) {
    std::snprintf(context.text, sizeof context.text, "%s [%s (%d), module: %s, thread: 0x%X]", context.function,
                  context.file, context.line, dll.moduleName, grx::platform::CurrentThreadId());
    va_list args;
    va_start(args, format);
    dll.vtraceMsg(dll.handle, dll.component, dll.subcomponent, level, context.text, format, args);
    va_end(args);
  } else if (dll.silent && dll.msgSilent) {
    TraceSilentRecord record{};
    record.level = context.level;
    record.line = context.line;
    FillField(record.file, context.file);
    FillField(record.function, context.function);
    FillField(record.text, format);
    dll.msgSilent(&record);
  }
}
