// The parameter printers of the call trace: one line per parameter on the DB_PARATRACE channel,
// "  IN: name = value" before the call and "  OUT: name = value" after it.
#pragma once

#include <cstdint>
#include <string>

#include "chartdb/q3jdbmox_types.h"
#include "dbaccess/api_param_kinds.h"

namespace grx::dbaccess {

enum class Direction { In = 0, Out = 1 };

// Each formats one line ("" when the kind has no printer) ...
std::string FormatObjectId(Direction d, const char* name, GlObjectId id);
std::string FormatOptionalObjectId(Direction d, const char* name, const GlObjectId* id);
std::string FormatDescriptor(Direction d, const char* name, const GlObjectDescriptor& od);
std::string FormatNumber16(Direction d, const char* name, int value);
std::string FormatNumber32(Direction d, const char* name, long value);
std::string FormatHandle(Direction d, const char* name, const void* handle);
std::string FormatChar(Direction d, const char* name, char value);
std::string FormatBool(Direction d, const char* name, long value);
std::string FormatMode(Direction d, const char* name, int mode);
std::string FormatIecType(Direction d, const char* name, int type);
std::string FormatSfcState(Direction d, const char* name, int state);
// label: "char *", "GlVarPath" or "GlValue"
std::string FormatText(Direction d, const char* name, const char* text, const char* label = "char *");
std::string FormatUda(Direction d, const char* name, const Gl_Uda& uda);

// ... and this delivers it to the DB_PARATRACE channel.
void PrintParamLine(const std::string& line);

// Prints one parameter by its kind.
template <class T>
void PrintParam(Direction d, const ParamInfo& info, const T& value) {
  const std::string name(info.name);
  const char* n = name.c_str();
  std::string line;
  if constexpr (std::is_same_v<T, std::uint64_t>) {
    if (info.kind == ParamKind::Id) line = FormatObjectId(d, n, value);
  } else if constexpr (std::is_same_v<T, GlObjectId*>) {
    if (info.kind == ParamKind::OptId) line = FormatOptionalObjectId(d, n, value);
  } else if constexpr (std::is_same_v<T, GlObjectDescriptor>) {
    line = FormatDescriptor(d, n, value);
  } else if constexpr (std::is_same_v<T, std::uint16_t>) {
    line = FormatNumber16(d, n, value);
  } else if constexpr (std::is_same_v<T, MODE>) {
    line = FormatMode(d, n, value);
  } else if constexpr (std::is_same_v<T, char>) {
    line = FormatChar(d, n, value);
  } else if constexpr (std::is_same_v<T, char*> || std::is_same_v<T, const char*>) {
    if (info.kind == ParamKind::Text) line = FormatText(d, n, value);
  } else if constexpr (std::is_same_v<T, Gl_Uda>) {
    line = FormatUda(d, n, value);
  } else if constexpr (std::is_pointer_v<T>) {
    if (info.kind == ParamKind::Handle) line = FormatHandle(d, n, value);
  } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    switch (info.kind) {
      case ParamKind::N32:
        line = FormatNumber32(d, n, static_cast<long>(value));
        break;
      case ParamKind::Bool:
        line = FormatBool(d, n, static_cast<long>(value));
        break;
      case ParamKind::IecType:
        line = FormatIecType(d, n, static_cast<int>(value));
        break;
      case ParamKind::SfcState:
        line = FormatSfcState(d, n, static_cast<int>(value));
        break;
      default:
        break;
    }
  }
  if (!line.empty()) PrintParamLine(line);
}

} // namespace grx::dbaccess
