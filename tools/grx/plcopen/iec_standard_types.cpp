#include "iec_standard_types.h"

#include <map>

namespace grx::plcopen {
namespace {

std::string Upper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// One row per type: name, kind and the parameters as "name:type" lists, inputs before the
// arrow, outputs after it; "&" marks in-out parameters.
struct Row {
  const char* name;
  bool functionBlock;
  bool extensible;
  const char* inputs;
  const char* outputs;
};

constexpr Row kRows[] = {
    {"ADD", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"MUL", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"SUB", false, false, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"DIV", false, false, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"MOD", false, false, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"EXPT", false, false, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"MOVE", false, false, "IN:ANY", "OUT:ANY"},
    {"ABS", false, false, "IN:ANY", "OUT:ANY"},
    {"SQRT", false, false, "IN:ANY", "OUT:ANY"},
    {"LN", false, false, "IN:ANY", "OUT:ANY"},
    {"LOG", false, false, "IN:ANY", "OUT:ANY"},
    {"EXP", false, false, "IN:ANY", "OUT:ANY"},
    {"SIN", false, false, "IN:ANY", "OUT:ANY"},
    {"COS", false, false, "IN:ANY", "OUT:ANY"},
    {"TAN", false, false, "IN:ANY", "OUT:ANY"},
    {"ASIN", false, false, "IN:ANY", "OUT:ANY"},
    {"ACOS", false, false, "IN:ANY", "OUT:ANY"},
    {"ATAN", false, false, "IN:ANY", "OUT:ANY"},
    {"TRUNC", false, false, "IN:ANY", "OUT:ANY"},
    {"AND", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"OR", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"XOR", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"NOT", false, false, "IN:ANY", "OUT:ANY"},
    {"SHL", false, false, "IN:ANY N:ANY", "OUT:ANY"},
    {"SHR", false, false, "IN:ANY N:ANY", "OUT:ANY"},
    {"ROL", false, false, "IN:ANY N:ANY", "OUT:ANY"},
    {"ROR", false, false, "IN:ANY N:ANY", "OUT:ANY"},
    {"SEL", false, false, "G:BOOL IN0:ANY IN1:ANY", "OUT:ANY"},
    {"MAX", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"MIN", false, true, "IN1:ANY IN2:ANY", "OUT:ANY"},
    {"LIMIT", false, false, "MN:ANY IN:ANY MX:ANY", "OUT:ANY"},
    {"MUX", false, true, "K:ANY IN0:ANY IN1:ANY", "OUT:ANY"},
    {"GT", false, true, "IN1:ANY IN2:ANY", "OUT:BOOL"},
    {"GE", false, true, "IN1:ANY IN2:ANY", "OUT:BOOL"},
    {"EQ", false, true, "IN1:ANY IN2:ANY", "OUT:BOOL"},
    {"LE", false, true, "IN1:ANY IN2:ANY", "OUT:BOOL"},
    {"LT", false, true, "IN1:ANY IN2:ANY", "OUT:BOOL"},
    {"NE", false, false, "IN1:ANY IN2:ANY", "OUT:BOOL"},
    {"LEN", false, false, "IN:STRING", "OUT:INT"},
    {"LEFT", false, false, "IN:STRING L:ANY", "OUT:STRING"},
    {"RIGHT", false, false, "IN:STRING L:ANY", "OUT:STRING"},
    {"MID", false, false, "IN:STRING L:ANY P:ANY", "OUT:STRING"},
    {"CONCAT", false, true, "IN1:STRING IN2:STRING", "OUT:STRING"},
    {"INSERT", false, false, "IN1:STRING IN2:STRING P:ANY", "OUT:STRING"},
    {"DELETE", false, false, "IN:STRING L:ANY P:ANY", "OUT:STRING"},
    {"REPLACE", false, false, "IN1:STRING IN2:STRING L:ANY P:ANY", "OUT:STRING"},
    {"FIND", false, false, "IN1:STRING IN2:STRING", "OUT:INT"},
    {"SR", true, false, "S1:BOOL R:BOOL", "Q1:BOOL"},
    {"RS", true, false, "S:BOOL R1:BOOL", "Q1:BOOL"},
    {"R_TRIG", true, false, "CLK:BOOL", "Q:BOOL"},
    {"F_TRIG", true, false, "CLK:BOOL", "Q:BOOL"},
    {"CTU", true, false, "CU:BOOL R:BOOL PV:INT", "Q:BOOL CV:INT"},
    {"CTD", true, false, "CD:BOOL LD:BOOL PV:INT", "Q:BOOL CV:INT"},
    {"CTUD", true, false, "CU:BOOL CD:BOOL R:BOOL LD:BOOL PV:INT", "QU:BOOL QD:BOOL CV:INT"},
    {"TP", true, false, "IN:BOOL PT:TIME", "Q:BOOL ET:TIME"},
    {"TON", true, false, "IN:BOOL PT:TIME", "Q:BOOL ET:TIME"},
    {"TOF", true, false, "IN:BOOL PT:TIME", "Q:BOOL ET:TIME"},
};

// Elementary types that conversions X_TO_Y name.
constexpr const char* kElementary[] = {"BOOL",  "BYTE", "WORD",  "DWORD", "LWORD", "SINT",  "INT",
                                       "DINT",  "LINT", "USINT", "UINT",  "UDINT", "ULINT", "REAL",
                                       "LREAL", "TIME", "DATE",  "TOD",   "DT",    "STRING"};

void AddList(StandardType& type, const char* list, const char* direction) {
  std::string text = list;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(pos, end - pos);
    const std::size_t colon = item.find(':');
    type.parameters.push_back({item.substr(0, colon), direction, item.substr(colon + 1)});
    pos = end + 1;
  }
}

bool IsElementary(const std::string& name) {
  for (const char* e : kElementary) {
    if (name == e) return true;
  }
  return false;
}

} // namespace

std::optional<StandardType> FindStandardType(const std::string& name) {
  const std::string upper = Upper(name);
  for (const Row& row : kRows) {
    if (upper == row.name) {
      StandardType type{row.name, row.functionBlock, row.extensible, {}};
      AddList(type, row.inputs, "in");
      AddList(type, row.outputs, "out");
      return type;
    }
  }
  const std::size_t to = upper.find("_TO_");
  if (to != std::string::npos && IsElementary(upper.substr(0, to)) && IsElementary(upper.substr(to + 4))) {
    StandardType type{upper, false, false, {}};
    type.parameters.push_back({"IN", "in", upper.substr(0, to)});
    type.parameters.push_back({"OUT", "out", upper.substr(to + 4)});
    return type;
  }
  return std::nullopt;
}

} // namespace grx::plcopen
