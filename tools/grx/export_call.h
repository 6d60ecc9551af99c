// `grx call EXPORT name=value ...`: the exports of the helper library callable by name, with
// their parameters read from name=value arguments (object identifiers as paths) and their
// result and out-values printed.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "project_client.h"

namespace grx::cli {

// The arguments of one call and the out-values it produces.
class CallContext {
public:
  CallContext(ChartDbClient& db, const std::vector<std::string>& arguments, std::uintptr_t defaultWindow);

  // Inputs; each marks its argument used. Missing required ones throw GrxError.
  GlObjectId Id(const std::string& name);
  GlObjectId Id(const std::string& name, GlObjectId fallback);
  std::string Text(const std::string& name);
  std::string Text(const std::string& name, const std::string& fallback);
  std::vector<std::string> List(const std::string& name); // comma-separated, may be absent
  // A whole number within [min, max] (a usage error naming the parameter otherwise); fallback
  // when it is absent and optional.
  std::int64_t Integer(const std::string& name, std::int64_t min, std::int64_t max);
  std::int64_t Integer(const std::string& name, std::int64_t min, std::int64_t max, std::int64_t fallback);
  GlTransactionId Transaction();                // prevTransactionId, default 65535
  GlDataType DataType(const std::string& name); // a number or an elementary type name
  ChartDbClient& db() { return db_; }
  std::uintptr_t Window(const std::string& name); // default: the --window built last

  // Out-values, printed after the result.
  void Out(const std::string& name, const nlohmann::ordered_json& value);
  void OutId(const std::string& name, GlObjectId id);
  void OutIds(const std::string& name, const std::vector<GlObjectId>& ids);
  std::string PathText(GlObjectId id);

  // Throws GrxError for arguments that no parameter took.
  void CheckAllUsed() const;
  const nlohmann::ordered_json& outs() const { return outs_; }

private:
  GlObjectId Resolve(const std::string& name, const std::string& value);

  const std::string* Find(const std::string& name);
  ChartDbClient& db_;
  std::map<std::string, std::string> arguments_;
  std::map<std::string, bool> used_;
  std::uintptr_t defaultWindow_;
  nlohmann::ordered_json outs_ = nlohmann::ordered_json::object();
};

// One parameter of an export as the export table describes it.
struct ExportParameter {
  std::string name;
  std::string direction; // In, Out, InOut, Appended
  std::string kind;
  std::string type; // the C++ type as the table spells it
};

// One export of the table, with its grx call adapter.
struct ExportEntry {
  std::string name;
  std::string result; // the C++ result type
  std::string family;
  std::string policy; // Raises or Answers
  std::string summary;
  std::vector<ExportParameter> parameterList;
  std::string parameters;                                     // how it is called, for the listing
  std::function<nlohmann::ordered_json(CallContext&)> invoke; // returns the export's result
};

const std::vector<ExportEntry>& Exports();
// The export of that name; of overloads, the first whose parameters take every name=value
// argument given.
const ExportEntry* FindExport(const std::string& name, const std::vector<std::string>& arguments = {});
// The reference of every export (Markdown), as docs/exports.md holds it.
std::string ExportReference();
// Which exports raise and which answer neutrally, one row per family (a Markdown table).
std::string ExportPolicyTable();

} // namespace grx::cli
