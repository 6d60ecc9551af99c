// The module trace: exported functions keep a TraceContext that names their source file and
// function, and write failure texts with TraceWrite into the trace library, which is bound at run
// time (component 22, subcomponent 7). With the "silent-trace" setting on, texts at levels the
// library does not release go to it as silent records.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "w5trace/trace_library.h"
#include "platform/export_macros.h"

struct TraceContext {
  char text[512] = {0};
  std::int32_t level = -1;
  std::int32_t line = -1;
  const char* file = "";
  const char* function = "";

  TraceContext(const char* fileName, const char* functionName) : file(fileName), function(functionName) {}
};

using TraceInit2Fn = std::int32_t (*)(const char*, std::int32_t, std::uint32_t*, const char*);
using VTraceMsg2Fn = void (*)(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, const char*, const char*,
                              va_list);
using IsTraceReleased2Fn = std::int32_t (*)(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t);
using TraceDeInit2Fn = std::int32_t (*)(std::uint32_t*);
using TraceMsgSilentFn = void (*)(const TraceSilentRecord*);

struct TraceDll {
  TraceInit2Fn init = nullptr;
  VTraceMsg2Fn vtraceMsg = nullptr;
  IsTraceReleased2Fn isReleased = nullptr;
  TraceDeInit2Fn deInit = nullptr;
  TraceMsgSilentFn msgSilent = nullptr;
  char moduleName[260] = {0};
  std::uint32_t component = 22;
  std::uint32_t subcomponent = 7;
  std::uint32_t handle = 0;
  bool bound = false;
  bool silent = false;
  void* library = nullptr; // w5wtrcax, unloaded at process exit
};

// The process-wide binding, made on the first call.
TraceDll& GetTraceDll();
// Writes "FUNCTION [FILE (LINE), module: MODULE, thread: 0xID]" and the formatted text at the
// context's level, or a silent record, or nothing.
void TraceWrite(TraceContext& context, const char* format, ...) GRX_PRINTF_FORMAT(2, 3);
