// Parameter kinds of the call trace, read at compile time from the spelled parameter lists of
// the declaration table: "(MODE mode, GlObjectId chartId, ...)" gives the name and the printer
// kind of every parameter.
#pragma once

#include <array>
#include <cstddef>
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

namespace detail {

constexpr bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
constexpr bool IsIdentifier(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
constexpr std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

struct KindOfType {
  std::string_view type;
  ParamKind kind;
};

inline constexpr KindOfType kKinds[] = {
    {"GlObjectId", ParamKind::Id},
    {"GlObjectId&", ParamKind::Id},
    {"std::uint64_t&", ParamKind::Id},
    {"const GlObjectId*", ParamKind::Handle},
    {"GlObjectId*", ParamKind::OptId},
    {"GlObjectDescriptor&", ParamKind::OD},
    {"GlTransactionId", ParamKind::N16},
    {"GlTransactionId&", ParamKind::N16},
    {"std::uint32_t", ParamKind::N32},
    {"std::uint32_t&", ParamKind::N32},
    {"std::int32_t", ParamKind::N32},
    {"std::int32_t&", ParamKind::N32},
    {"long", ParamKind::N32},
    {"void*", ParamKind::Handle},
    {"const void*", ParamKind::Handle},
    {"GlObjectSet&", ParamKind::Handle},
    {"char", ParamKind::Char},
    {"GlBool", ParamKind::Bool},
    {"GlBool&", ParamKind::Bool},
    {"GlBool*", ParamKind::Handle},
    {"MODE", ParamKind::Mode},
    {"GlDataType", ParamKind::IecType},
    {"GlDataType&", ParamKind::IecType},
    {"char*", ParamKind::Text},
    {"const char*", ParamKind::Text},
    {"Gl_Uda&", ParamKind::Uda},
    {"const Gl_Uda&", ParamKind::Uda},
};

constexpr ParamKind KindOf(std::string_view type) {
  for (const auto& k : kKinds) {
    if (k.type == type) return k.kind;
  }
  return ParamKind::None;
}

// One parameter "TYPE NAME": the name is the trailing identifier.
constexpr ParamInfo ParseOne(std::string_view text) {
  text = Trim(text);
  std::size_t start = text.size();
  while (start > 0 && IsIdentifier(text[start - 1])) --start;
  return ParamInfo{text.substr(start), KindOf(Trim(text.substr(0, start)))};
}

} // namespace detail

// Parses a spelled parameter list "(T1 a, T2 b)" into N parameter descriptions.
template <std::size_t N>
constexpr std::array<ParamInfo, N> ParseParams(std::string_view list) {
  std::array<ParamInfo, N> params{};
  list = detail::Trim(list);
  list = list.substr(1, list.size() - 2); // the parentheses
  std::size_t index = 0;
  while (index < N) {
    const std::size_t comma = list.find(',');
    params[index++] = detail::ParseOne(list.substr(0, comma));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return params;
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
