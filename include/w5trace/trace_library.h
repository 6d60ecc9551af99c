// The entry points of the engineering system's trace library w5wtrcax.
#pragma once

#include <cstdarg>
#include <cstdint>

// Fields in this order, no padding between the texts; a text that fills its field has no
// terminating zero.
#pragma pack(push, 1)
struct TraceSilentRecord {
  std::int32_t level;
  std::int32_t line;
  char file[100];
  char function[50];
  char text[100];
};
#pragma pack(pop)
static_assert(sizeof(TraceSilentRecord) == 258);

extern "C" {
std::int32_t traceapi_Init2(const char* name, std::int32_t reserved, std::uint32_t* handle, const char* className);
std::int32_t traceapi_DeInit2(std::uint32_t* handle);
void TraceMsg2(std::uint32_t handle, std::uint32_t component, std::uint32_t subcomponent, std::uint32_t level,
               const char* source, const char* text);
std::int32_t IsTraceReleased2(std::uint32_t handle, std::uint32_t component, std::uint32_t subcomponent,
                              std::uint32_t level);
void VTraceMsg2(std::uint32_t handle, std::uint32_t component, std::uint32_t subcomponent, std::uint32_t level,
                const char* header, const char* format, va_list args);
void TraceMsgSilent(const TraceSilentRecord* record);
}
