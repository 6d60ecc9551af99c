// grx type NAME and grx cast FROM TO [--table]: the type queries of the library for a person.
#include <nlohmann/json.hpp>

#include <iomanip>

#include "commands.h"
#include "data_type_text.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "project_client.h"
#include "terminal_text.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

// The elementary types, in the order of their ES type codes.
const char* const kTypeNames[] = {"BOOL", "BYTE",  "WORD",  "DWORD", "LWORD",  "SINT",  "INT",  "DINT", "LINT", "USINT",
                                  "UINT", "UDINT", "ULINT", "REAL",  "SDTIME", "LREAL", "TIME", "DATE", "TOD",  "DT"};

GlDataType TypeOf(const std::string& text) {
  if (const auto type = ParseDataType(text)) return *type;
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
  return found ? kExitOk : kExitNo;
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
  return castable ? kExitOk : kExitNo;
}

} // namespace grx::cli

namespace grx::cli {

int RunAddress(const Options& options, const std::string& text, std::ostream& out) {
  std::string address, typeName;
  std::uint32_t esType = 0;
  GlDataType iecType = IEC_NDEF;
  bool isInput = false;
  const bool ok = W5GRX_IsProzessAbbild(text, address, esType, iecType, typeName, isInput);
  if (options.json) {
    Json j{{"text", text}, {"address", ok}};
    if (ok) {
      j["normalized"] = address;
      j["typeName"] = typeName;
      j["esType"] = esType;
      j["iecType"] = iecType;
      j["direction"] = isInput ? "input" : "output";
    }
    out << JsonText(j) << "\n";
  } else if (ok) {
    out << address << ": " << typeName << " " << (isInput ? "input" : "output") << " (ES type code " << esType
        << ", IEC data type " << iecType << ")\n";
  } else {
    out << "\"" << text << "\" is not a process-image address (%I or %Q, then BYTE.BIT or B, W or D and a number)\n";
  }
  return ok ? kExitOk : kExitNo;
}

int RunCompatible(const Options& options, const std::string& source, const std::string& sink, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  std::uint16_t code = 1;
  std::int32_t message = 0;
  const bool ok = W5GRX_IsCompatible(0, 0, 0, 0, db.Resolve(source), db.Resolve(sink), code, message, kNoTransaction);
  const char* reason = code == 0   ? "the types fit"
                       : code == 4 ? "a processing group is enabled by a BOOL only"
                                   : "the types do not fit, or one of them cannot be told";
  if (options.json) {
    out << JsonText(Json{{"compatible", ok}, {"code", code}, {"reason", reason}}) << "\n";
  } else {
    out << source << " -> " << sink << ": " << (ok ? "compatible" : "not compatible") << " (code " << code << ", "
        << reason << ")\n";
  }
  return ok ? kExitOk : kExitNo;
}

int RunConnected(const Options& options, const std::string& var, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  GlObjectId found = 0;
  bool isBlockParam = false;
  const bool ok = W5GRX_FindConnectedVar(db.Resolve(var), found, isBlockParam, kNoTransaction);
  const std::string path = found ? db.Path(found) : std::string();
  if (options.json) {
    out << JsonText(Json{{"found", ok}, {"variable", path}, {"isBlockParam", isBlockParam}}) << "\n";
  } else if (ok) {
    out << var << " -> " << path
        << (isBlockParam ? " (block parameter)" : " (the chain ends at this interface variable)") << "\n";
  } else {
    out << var << ": no variable found (not a variable, or a chain that comes back on itself)\n";
  }
  return ok ? kExitOk : kExitNo;
}

} // namespace grx::cli
