#include "dbaccess/param_printers.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "chartdb/q3jdbmox_data_types.h"
#include "dbaccess/es_log_client.h"
#include "platform/export_macros.h"

namespace grx::dbaccess {
namespace {

const char* DirectionText(Direction d) {
  return d == Direction::In ? "IN:" : "OUT:";
}

std::string Format(const char* format, ...) GRX_PRINTF_FORMAT(1, 2);
std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

// The text cut to limit characters, followed by four dots when it was longer.
std::string Cut(const char* text, std::size_t limit) {
  const std::size_t length = strnlen(text, limit + 1);
  return length > limit ? std::string(text, limit) + "...." : std::string(text, length);
}

} // namespace

std::string FormatObjectId(Direction d, const char* name, GlObjectId id) {
  return Format("  %s %s = %.4x:%.4x:%.1x:%.7x", DirectionText(d), name, static_cast<unsigned>(id >> 48),
                static_cast<unsigned>((id >> 32) & 0xFFFF), static_cast<unsigned>((id >> 28) & 0xF),
                static_cast<unsigned>(id & 0x0FFFFFFF));
}

std::string FormatOptionalObjectId(Direction d, const char* name, const GlObjectId* id) {
  return id ? FormatObjectId(d, name, *id) : Format("  %s %s = NULL", DirectionText(d), name);
}

std::string FormatDescriptor(Direction d, const char* name, const GlObjectDescriptor& od) {
  return Format("  %s %s = OD#%.6x:%.1x:%.6x:%.1x:%.6x:%.1x", DirectionText(d), name, od.word[4], od.word[5],
                od.word[2], od.word[3], od.word[0], od.word[1]);
}

std::string FormatNumber16(Direction d, const char* name, int value) {
  return Format("  %s %s = %d", DirectionText(d), name, value);
}

std::string FormatNumber32(Direction d, const char* name, long value) {
  return Format("  %s %s = %ld", DirectionText(d), name, value);
}

std::string FormatHandle(Direction d, const char* name, const void* handle) {
  return Format("  %s %s = 0x%.8lX", DirectionText(d), name,
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(handle)));
}

std::string FormatChar(Direction d, const char* name, char value) {
  return Format("  %s %s = %c", DirectionText(d), name, value);
}

std::string FormatBool(Direction d, const char* name, long value) {
  return Format("  %s %s = %s", DirectionText(d), name, value ? "TRUE" : "FALSE");
}

std::string FormatMode(Direction d, const char* name, int mode) {
  static const char* const kNames[] = {"M_NDEF", "M_FIRST", "M_NEXT", "M_LAST"};
  return Format("  %s %s = %s", DirectionText(d), name, mode >= 0 && mode <= 3 ? kNames[mode] : "???");
}

std::string FormatIecType(Direction d, const char* name, int type) {
  const std::string_view enumerator = chartdb::DataTypeEnumerator(type);
  if (enumerator.empty()) {
    return Format("  %s %s = %s (0x%x)", DirectionText(d), name, "???", static_cast<unsigned>(type));
  }
  return Format("  %s %s = %.*s", DirectionText(d), name, static_cast<int>(enumerator.size()), enumerator.data());
}

std::string FormatSfcState(Direction d, const char* name, int state) {
  return Format("  %s %s = (%s)%d", DirectionText(d), name, "SFC_STATE_VARTYPE", state);
}

std::string FormatText(Direction d, const char* name, const char* text, const char* label) {
  if (!text) return Format("  %s %s = NULL", DirectionText(d), name);
  return Format("  %s %s = (%s)\"%s\"", DirectionText(d), name, label, Cut(text, 75).c_str());
}

std::string FormatUda(Direction d, const char* name, const Gl_Uda& uda) {
  char key[sizeof uda.name + 1] = {};
  char value[sizeof uda.value + 1] = {};
  std::memcpy(key, uda.name, sizeof uda.name);
  std::memcpy(value, uda.value, sizeof uda.value);
  return Format("  %s %s = {key=\"%s\", value=\"%s\"}", DirectionText(d), name, Cut(key, 45).c_str(),
                Cut(value, 45).c_str());
}

void PrintParamLine(const std::string& line) {
  ParameterTrace().Deliver(line);
}

} // namespace grx::dbaccess
