// Names of the IEC data types of the chart-database API, as their enumerators read.
#pragma once

#include <string_view>

#include "chartdb/q3jdbmox_types.h"

namespace chartdb {

struct DataTypeEntry {
  GlDataType type;
  std::string_view enumerator; // "IEC_BOOL"
};

inline constexpr DataTypeEntry kDataTypes[] = {
    {IEC_NDEF, "IEC_NDEF"},     {IEC_BOOL, "IEC_BOOL"},
    {IEC_BYTE, "IEC_BYTE"},     {IEC_CHAR, "IEC_CHAR"},
    {IEC_WORD, "IEC_WORD"},     {IEC_INT, "IEC_INT"},
    {IEC_DWORD, "IEC_DWORD"},   {IEC_DINT, "IEC_DINT"},
    {IEC_REAL, "IEC_REAL"},     {IEC_DATE, "IEC_DATE"},
    {IEC_TIME, "IEC_TIME"},     {IEC_TOD, "IEC_TOD"},
    {IEC_Q1TIME, "IEC_Q1TIME"}, {IEC_COUNTER, "IEC_COUNTER"},
    {IEC_TIMER, "IEC_TIMER"},   {IEC_DT, "IEC_DT"},
    {IEC_STR, "IEC_STR"},       {IEC_POINTER, "IEC_POINTER"},
    {IEC_ANY, "IEC_ANY"},       {IEC_ARRAY, "IEC_ARRAY"},
    {IEC_STRUCT, "IEC_STRUCT"}, {IEC_END_STRUCT, "IEC_END_STRUCT"},
    {IEC_N_FB, "IEC_N_FB"},     {IEC_N_FC, "IEC_N_FC"},
    {IEC_N_DB, "IEC_N_DB"},     {IEC_N_SDB, "IEC_N_SDB"},
    {IEC_UDTYPE, "IEC_UDTYPE"}, {IEC_Q3STR, "IEC_Q3STR"},
    {IEC_SINT, "IEC_SINT"},     {IEC_LINT, "IEC_LINT"},
    {IEC_USINT, "IEC_USINT"},   {IEC_UINT, "IEC_UINT"},
    {IEC_UDINT, "IEC_UDINT"},   {IEC_ULINT, "IEC_ULINT"},
    {IEC_LREAL, "IEC_LREAL"},   {IEC_LWORD, "IEC_LWORD"},
    {IEC_TASK, "IEC_TASK"},     {IEC_SDTIME, "IEC_SDTIME"},
    {IEC_GLOBAL, "IEC_GLOBAL"},
};

// The enumerator name of a data type, or an empty view for a value that has none.
constexpr std::string_view DataTypeEnumerator(GlDataType type) {
  for (const auto& e : kDataTypes) {
    if (e.type == type) return e.enumerator;
  }
  return {};
}

// The short name ("BOOL") of a data type, or an empty view.
constexpr std::string_view DataTypeShortName(GlDataType type) {
  const std::string_view name = DataTypeEnumerator(type);
  return name.empty() ? name : name.substr(4);
}

} // namespace chartdb
