// grx call, grx plans and grx trace decode.
#include <fstream>
#include <memory>
#include <optional>
#include <utility>

#include "project_client.h"
#include "commands.h"
#include "dbaccess/trace_scramble.h"
#include "eslog/es_log_file.h"
#include "c_interface_writer.h"
#include "export_call.h"
#include "foundation/object_trace.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "dialog_report.h"
#include "log_object.h"
#include "terminal_text.h"
#include "platform/dialog_presenter.h"
#include "platform/window_handles.h"
#include "platform/type_names.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;

} // namespace

namespace {

std::string ValueText(const Json& value) {
  return value.is_string() ? value.get<std::string>() : JsonText(value, -1);
}

} // namespace

int RunMsgBox(const Options& options, std::uint32_t messageId, const std::vector<std::string>& args,
              std::uint32_t style, std::uint32_t buttons, std::ostream& out) {
  // With --answer the answers are given in advance; otherwise the box is drawn on the terminal and
  // the person answers (without a terminal it takes its first button).
  const auto scripted = ScriptedAnswers(options);
  const platform::WindowHandle window = BuildWindows(options);
  const int result = args.empty() ? DoCfcMsgBox(window, messageId, style, buttons)
                                  : DoCfcMsgBox(window, messageId, args, style, buttons);
  const char* answer = result == 6 ? "yes" : result == 7 ? "no" : result == 2 ? "cancel" : "ok";
  if (options.json) {
    out << JsonText(Json{{"result", result}, {"answer", answer}}) << "\n";
  } else {
    out << "answer: " << answer << " (" << result << ")\n";
  }
  return kExitOk;
}

int RunExports(const Options& options, const std::string& format, std::ostream& out) {
  // The texts written from the export table, by the option that asks for them.
  const std::pair<const char*, std::string (*)()> texts[] = {{"--markdown", ExportReference},
                                                             {"--policies", ExportPolicyTable},
                                                             {"--c-header", CInterfaceHeader},
                                                             {"--c-source", CInterfaceSource},
                                                             {"--python", CInterfacePythonTable}};
  for (const auto& [option, write] : texts) {
    if (format == option) {
      out << write();
      return 0;
    }
  }
  if (options.json) {
    Json list = Json::array();
    for (const ExportEntry& e : Exports()) {
      Json parameters = Json::array();
      for (const ExportParameter& p : e.parameterList) {
        parameters.push_back({{"name", p.name}, {"direction", p.direction}, {"kind", p.kind}, {"type", p.type}});
      }
      list.push_back({{"name", e.name},
                      {"result", e.result},
                      {"family", e.family},
                      {"policy", e.policy},
                      {"summary", e.summary},
                      {"parameters", parameters}});
    }
    out << JsonText(list) << "\n";
    return 0;
  }
  for (const ExportEntry& e : Exports()) out << e.name << " " << e.parameters << "\n";
  return 0;
}

int RunCall(const Options& options, const std::string& exportName, const std::vector<std::string>& arguments,
            std::ostream& out) {
  const ExportEntry* entry = FindExport(exportName, arguments);
  if (!entry) {
    std::string known;
    for (const auto& e : Exports()) known += "\n  " + e.name + " " + e.parameters;
    throw GrxError("no export " + exportName + "; the exports are:" + known, kExitUsage);
  }
  ChartDbClient& db = ChartDbClient::Instance();
  CallContext context(db, arguments, BuildWindows(options));
  // Boxes are always answered here: from --answer, else with their first button.
  auto boxes = ScriptedAnswers(options);
  if (!boxes) boxes = std::make_unique<platform::ScriptedPresenter>();
  Json result;
  std::string failure;
  ImportLogCapture importLog;
  try {
    result = entry->invoke(context);
    context.CheckAllUsed();
  } catch (const GrxError&) {
    throw;
  } catch (const ChartDbError&) {
    throw;
  } catch (const ZEB::CException& e) {
    // Exceptions of the library's family reach the object trace too.
    ZEB::CObject::TraceException(e, 3);
    failure = "exception " + platform::ReadableTypeName(typeid(e)) + ": " + e.GetMessage();
  } catch (const std::exception& e) {
    failure = "exception " + platform::ReadableTypeName(typeid(e)) + ": " + e.what();
  }
  const Json dialogs = DialogsJson(boxes.get());
  const Json log = importLog.Take();
  if (options.json) {
    Json j;
    if (failure.empty()) {
      j["result"] = result;
      for (const auto& [name, value] : context.outs().items()) j[name] = value;
      if (!log.is_null()) j["log"] = log;
    } else {
      j["exception"] = failure;
    }
    if (!dialogs.empty()) j["dialogs"] = dialogs;
    out << JsonText(j) << "\n";
  } else {
    PrintDialogs(dialogs, out);
    if (!failure.empty()) {
      out << failure << "\n";
    } else {
      out << "result: " << ValueText(result) << "\n";
      if (!log.is_null()) out << "log:\n" << LogJsonText(log);
      for (const auto& [name, value] : context.outs().items()) {
        if (value.is_array()) {
          out << name << ":\n";
          for (const auto& item : value) out << "  " << ValueText(item) << "\n";
        } else {
          out << name << ": " << ValueText(value) << "\n";
        }
      }
    }
  }
  // An export that raised failed: the frame rolls back what it changed.
  return failure.empty() ? kExitOk : kExitFailed;
}

int RunPlans(const Options& options, const std::string& controller, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const GlObjectId cpu = db.Resolve(controller);
  std::vector<std::string> names;
  std::vector<GlObjectId> ids;
  if (!W5GRX_RootPlansFromCPU(cpu, names, kNoTransaction) || !W5GRX_RootPlanIDsFromCPU(cpu, ids, kNoTransaction)) {
    throw GrxError("the root charts of " + controller + " cannot be listed");
  }
  if (options.json) {
    Json list = Json::array();
    for (GlObjectId id : ids) list.push_back(db.Path(id));
    out << JsonText(Json{{"controller", controller}, {"charts", list}}) << "\n";
  } else {
    out << names.size() << " root chart(s) of " << controller << "\n";
    for (GlObjectId id : ids) out << "  " << db.Path(id) << "\n";
  }
  return kExitOk;
}

int RunTraceDecode(const Options& options, const std::string& file, std::ostream& out) {
  std::ifstream in(file);
  if (!in) throw GrxError("cannot read " + file);
  Json lines = Json::array();
  std::string line;
  while (std::getline(in, line)) {
    const eslog::Event event = eslog::ParseLine(line);
    const std::string& client = event.client;
    const std::string& text = event.text;
    const std::string decoded = dbaccess::DecodeTraceLine(text).value_or(text);
    if (options.json) {
      lines.push_back(Json{{"client", client}, {"line", decoded}});
    } else {
      out << client << (client.empty() ? "" : ": ") << decoded << "\n";
    }
  }
  if (options.json) out << JsonText(lines) << "\n";
  return kExitOk;
}

} // namespace grx::cli
