// grx type NAME and grx cast FROM TO [--table]: the type queries of the library for a person.
#include <nlohmann/json.hpp>

#include <iomanip>

#include "commands.h"
#include "data_type_text.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "terminal_text.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

// The elementary types, in the order of their ES type codes.
const char* const kTypeNames[] = {"BOOL", "BYTE",  "WORD",  "DWORD", "LWORD",  "SINT",  "INT",  "DINT", "LINT", "USINT",
                                  "UINT", "UDINT", "ULINT", "REAL",  "SDTIME", "LREAL", "TIME", "DATE", "TOD",  "DT"};

GlDataType TypeOf(const std::string& text) {
  std::uint32_t esType = 0;
  GlDataType type = IEC_NDEF;
  if (W5GRX_IsSimpleType(text.c_str(), esType, type)) return type;
  try {
    std::size_t used = 0;
    const long number = std::stol(text, &used, 0);
    if (used == text.size()) return static_cast<GlDataType>(number);
  } catch (const std::exception&) {
  }
  throw GrxError("\"" + text + "\" is neither an elementary type nor an IEC data type number", kExitUsage);
}

} // namespace

int RunType(const Options& options, const std::string& name, std::ostream& out) {
  std::uint32_t esType = 0;
  GlDataType iecType = IEC_NDEF;
  const bool found = W5GRX_IsSimpleType(name.c_str(), esType, iecType);
  if (options.json) {
    Json j{{"name", name}, {"elementary", found}};
    if (found) {
      j["esType"] = esType;
      j["iecType"] = iecType;
      j["iecTypeName"] = DataTypeText(iecType);
    }
    out << JsonText(j) << "\n";
  } else if (found) {
    out << name << ": elementary type, ES type code " << esType << ", IEC data type " << iecType << " ("
        << DataTypeText(iecType) << ")\n";
  } else {
    out << name << ": not an elementary type\n";
  }
  return found ? kExitOk : kExitFailure;
}

int RunCast(const Options& options, const std::string& from, const std::string& to, bool table, std::ostream& out) {
  if (table) {
    Json matrix = Json::object();
    for (const char* source : kTypeNames) {
      const GlDataType s = TypeOf(source);
      Json row = Json::array();
      for (const char* target : kTypeNames) {
        const GlDataType t = TypeOf(target);
        if (W5GRX_CanCast(&s, &t)) row.push_back(target);
      }
      matrix[source] = row;
    }
    if (options.json) {
      out << JsonText(matrix) << "\n";
      return kExitOk;
    }
    out << std::setw(8) << ""
        << " ";
    for (const char* target : kTypeNames) out << std::setw(7) << target;
    out << "\n";
    for (const char* source : kTypeNames) {
      out << std::setw(8) << source << " ";
      const GlDataType s = TypeOf(source);
      for (const char* target : kTypeNames) {
        const GlDataType t = TypeOf(target);
        out << std::setw(7) << (W5GRX_CanCast(&s, &t) ? "x" : ".");
      }
      out << "\n";
    }
    return kExitOk;
  }
  if (from.empty() || to.empty()) throw GrxError("cast takes FROM and TO, or --table", kExitUsage);
  const GlDataType s = TypeOf(from);
  const GlDataType t = TypeOf(to);
  const bool castable = W5GRX_CanCast(&s, &t);
  if (options.json) {
    out << JsonText(Json{{"from", s}, {"to", t}, {"castable", castable}}) << "\n";
  } else {
    out << from << " -> " << to << ": " << (castable ? "may be connected" : "may not be connected") << "\n";
  }
  return castable ? kExitOk : kExitFailure;
}

} // namespace grx::cli
