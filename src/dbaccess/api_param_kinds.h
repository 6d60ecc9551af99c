// Parameter kinds of the call trace: the name and the printer of every parameter of the
// declaration table.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "chartdb/q3jdbmox_types.h"

namespace grx::dbaccess {

enum class ParamKind : std::uint8_t {
  None,     // no printer: records, select values, object-type out-values
  Id,       // 64-bit object identifier or iteration cursor
  OptId,    // optional object identifier (pointer, may be null)
  OD,       // object descriptor
  N16,      // 16-bit number (the transaction identifier)
  N32,      // 32-bit number
  Handle,   // handle or address
  Char,     // one character
  Bool,     // BOOL
  Mode,     // MODE
  IecType,  // IEC data type
  SfcState, // SFC state type
  Text,     // zero-terminated text
  Uda,      // user-defined attribute (key and value)
};

struct ParamInfo {
  std::string_view name;
  ParamKind kind = ParamKind::None;
};

// The printer of a parameter of type P (as declared: GlObjectId&, const GlObjectId*, ...). The
// declaration table names the printer where an alias shares its C++ type with another kind.
template <class P>
constexpr ParamKind PrinterKindOf() {
  using T = std::remove_cvref_t<P>;
  if constexpr (std::is_same_v<T, char*> || std::is_same_v<T, const char*>) {
    return ParamKind::Text;
  } else if constexpr (std::is_same_v<T, GlObjectId*>) {
    return ParamKind::OptId;
  } else if constexpr (std::is_pointer_v<T>) {
    return ParamKind::Handle;
  } else if constexpr (std::is_same_v<T, std::uint64_t>) {
    return ParamKind::Id;
  } else if constexpr (std::is_same_v<T, std::uint16_t>) {
    return ParamKind::N16;
  } else if constexpr (std::is_same_v<T, std::uint32_t> || std::is_same_v<T, std::int32_t> || std::is_same_v<T, long>) {
    return ParamKind::N32;
  } else if constexpr (std::is_same_v<T, char>) {
    return ParamKind::Char;
  } else if constexpr (std::is_same_v<T, MODE>) {
    return ParamKind::Mode;
  } else if constexpr (std::is_same_v<T, GlObjectDescriptor>) {
    return ParamKind::OD;
  } else if constexpr (std::is_same_v<T, Gl_Uda>) {
    return ParamKind::Uda;
  } else {
    return ParamKind::None; // records
  }
}
// ... or the printer the table names.
template <class P>
constexpr ParamKind PrinterKindOf(ParamKind named) {
  return named;
}

// Whether a printer kind fits the C++ type of the parameter.
template <class T>
constexpr bool KindFits(ParamKind kind) {
  switch (kind) {
    case ParamKind::None:
      return true;
    case ParamKind::Id:
      return std::is_same_v<T, std::uint64_t>;
    case ParamKind::OptId:
      return std::is_same_v<T, GlObjectId*>;
    case ParamKind::OD:
      return std::is_same_v<T, GlObjectDescriptor>;
    case ParamKind::N16:
      return std::is_same_v<T, std::uint16_t>;
    case ParamKind::N32:
      return std::is_same_v<T, std::uint32_t> || std::is_same_v<T, std::int32_t> || std::is_same_v<T, long>;
    case ParamKind::Handle:
      return std::is_pointer_v<T>;
    case ParamKind::Char:
      return std::is_same_v<T, char>;
    case ParamKind::Bool:
      return std::is_same_v<T, GlBool>;
    case ParamKind::Mode:
      return std::is_same_v<T, MODE>;
    case ParamKind::IecType:
      return std::is_same_v<T, GlDataType>;
    case ParamKind::SfcState:
      return std::is_integral_v<T>;
    case ParamKind::Text:
      return std::is_same_v<T, char*> || std::is_same_v<T, const char*>;
    case ParamKind::Uda:
      return std::is_same_v<T, Gl_Uda>;
  }
  return false;
}

} // namespace grx::dbaccess
