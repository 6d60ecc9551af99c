// An object-trace sink that keeps every line it gets as "LEVEL SOURCE: TEXT".
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/object_trace.h"

namespace grx::testing {

class RecordingTrace : public ZEB::ITrace {
public:
  void TraceException(const ZEB::CException&, std::uint32_t) override {}
  void VTrace(std::uint32_t level, const char* source, const char* format, va_list args) override {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    lines.push_back(std::to_string(level) + " " + source + ": " + text);
  }
  void Trace(std::uint32_t level, const char* source, const char* format, ...) override {
    va_list args;
    va_start(args, format);
    VTrace(level, source, format, args);
    va_end(args);
  }
  std::vector<std::string> lines;
};

} // namespace grx::testing
