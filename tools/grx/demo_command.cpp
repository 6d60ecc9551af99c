// grx demo: builds the demo project in a temporary folder and tours it through the
// chart-database API.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "api_iteration.h"
#include "export_call.h"
#include "log_object.h"
#include "platform/dialog_presenter.h"
#include "platform/file_search.h"
#include "project_check.h"
#include "project_client.h"
#include "commands.h"
#include "data_type_text.h"
#include "grx/w5lhlpax.h"
#include "grx_error.h"
#include "terminal_text.h"
#include "project_summary.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
constexpr GlTransactionId kTr = kNoTransaction;

struct Section {
  std::string title;
  std::vector<std::string> lines;
};

class Tour {
public:
  explicit Tour(ChartDbClient& db) : db_(db) {}

  std::vector<Section> sections;

  void Paths() {
    Section& s = Add("Object paths name every object");
    for (const char* path : {"D445_AXES/Axis1/Move1.AXIS.Status.Ready", "D445_AXES/@gCamTable.Pts.P2",
                             "D445_AXES/#T1/G_Axis1", "D445_AXES/%MC_MOVEABS.POS"}) {
      const GlObjectId id = db_.Resolve(path);
      char hex[24];
      std::snprintf(hex, sizeof hex, "0x%016llx", static_cast<unsigned long long>(id));
      s.lines.push_back(std::string(path) + "  =  " + hex + "  =  " + db_.Path(id));
    }
  }

  void Parameters(const std::string& blockPath) {
    Section& s = Add("Parameters of " + blockPath + " (iec_VarsGet, iec_InVarRead, iec_OutVarRead)");
    const GlObjectId block = db_.Resolve(blockPath);
    GlObjectId var = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::vector<std::pair<GlObjectId, GlObjectType>> vars;
    ForEachElement(
        db_, "iec_VarsGet", [&](MODE m) { return db_.iec_VarsGet(m, IEC_SELECT_ALL, block, var, type, kTr); },
        [&] { vars.emplace_back(var, type); });
    for (const auto& [id, kind] : vars) {
      Iec_Var record{};
      Iec_VarIdent ident{};
      const char* direction = kind == IEC_OBJ_IN_VAR ? "in   " : kind == IEC_OBJ_OUT_VAR ? "out  " : "inout";
      auto read = kind == IEC_OBJ_IN_VAR    ? db_.iec_InVarRead
                  : kind == IEC_OBJ_OUT_VAR ? db_.iec_OutVarRead
                                            : db_.iec_InOutVarRead;
      Check(db_, "iec_InVarRead", read(id, record, ident, kTr));
      std::string line = std::string(direction) + " " + Padded(record.name, 8) + " " +
                         Padded(DataTypeText(record.dataType), 7) + " " + (record.value[0] ? record.value : "-");
      if (ident.text[0]) line += "   (" + std::string(ident.text) + ")";
      s.lines.push_back(line);
    }
  }

  void GlobalUsers(const std::string& globalPath) {
    Section& s = Add("Where " + globalPath + " goes (iec_SinksGet)");
    const GlObjectId global = db_.Resolve(globalPath);
    GlObjectId sink = 0;
    GlObjectType type = IEC_OBJ_NULL;
    GlBool isConnection = 0;
    Iec_Connection connection{};
    ForEachElement(
        db_, "iec_SinksGet",
        [&](MODE m) { return db_.iec_SinksGet(m, global, sink, type, isConnection, connection, kTr); },
        [&] { s.lines.push_back("-> " + db_.Path(sink) + (isConnection ? "" : "  (reported, no connection)")); });
  }

  void TextualReference(const std::string& sinkPath) {
    Section& s = Add("Sources of " + sinkPath + " (iec_SourcesGetV6_0)");
    const GlObjectId sinkId = db_.Resolve(sinkPath);
    GlObjectId source = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::int32_t connectionType = 0;
    Iec_Connection connection{};
    ForEachElement(
        db_, "iec_SourcesGetV6_0",
        [&](MODE m) { return db_.iec_SourcesGetV6_0(m, sinkId, source, type, connectionType, connection, kTr); },
        [&] {
          s.lines.push_back(connectionType == IEC_TEXTUAL_REF
                                ? "<- textual reference \"" + std::string(connection.textualRef) + "\""
                                : "<- " + db_.Path(source));
        });
  }

  void RunSequence(const std::string& taskPath, const std::string& indirectBlock) {
    Section& s = Add("Run sequence of " + taskPath + " (iec_TaskElementsGet, iec_ProcessingGroupBlocksGet)");
    const GlObjectId task = db_.Resolve(taskPath);
    GlObjectId group = 0, member = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::vector<GlObjectId> groups;
    ForEachElement(
        db_, "iec_TaskElementsGet",
        [&](MODE m) { return db_.iec_TaskElementsGet(m, IEC_SELECT_TASK_ELEMENTS, task, group, type, kTr); },
        [&] { groups.push_back(group); });
    for (GlObjectId g : groups) {
      std::string line = db_.Path(g) + ":";
      int position = 0;
      ForEachElement(
          db_, "iec_ProcessingGroupBlocksGet",
          [&](MODE m) { return db_.iec_ProcessingGroupBlocksGet(m, IEC_SELECT_ALL, g, member, type, kTr); },
          [&] { line += " " + std::to_string(++position) + "." + db_.Path(member).substr(taskPath.find('/') + 1); });
      s.lines.push_back(line);
    }
    GlObjectId procGroup = 0, asTask = 0;
    Gl_RunSeqRecord record{};
    const GlResult r = db_.gl_ObjectAsTasksGet(M_FIRST, db_.Resolve(indirectBlock), procGroup, asTask, record, kTr);
    const std::uint32_t errorId = db_.ErrorId(r);
    if (errorId == 0 || errorId == GL_ERR_AS_TASK_INDIRECT) {
      s.lines.push_back(indirectBlock + " runs in " + db_.Path(procGroup) + " (task " + record.taskName +
                        ", group position " + std::to_string(record.grPos) + ")" +
                        (errorId == GL_ERR_AS_TASK_INDIRECT ? " through the chart that holds it (169)" : ""));
    }
  }

  void Attributes(const std::string& path) {
    Section& s = Add("User-defined attributes of " + path + " (gl_UdasGet)");
    const GlObjectId id = db_.Resolve(path);
    std::uint64_t iter = 0;
    Gl_Uda uda{};
    ForEachElement(
        db_, "gl_UdasGet", [&](MODE m) { return db_.gl_UdasGet(m, id, iter, uda, kTr); },
        [&] { s.lines.push_back(std::string(uda.name) + " = " + uda.value); });
  }

  void RolledBackTransaction(const std::string& controller) {
    Section& s = Add("A transaction that is rolled back (gl_TransactionBegin ... gl_TransactionAbort)");
    const GlObjectId cpu = db_.Resolve(controller);
    GlTransactionId tr = 0;
    Check(db_, "gl_TransactionBegin", db_.gl_TransactionBegin(tr, kNoTransaction));
    s.lines.push_back("began transaction " + std::to_string(tr));
    Iec_GlobalVar record{};
    std::snprintf(record.name, sizeof record.name, "gDemoOnly");
    record.dataType = IEC_DINT;
    GlObjectId created = 0;
    Check(db_, "iec_GlobalVarWrite", db_.iec_GlobalVarWrite(cpu, record, created, tr));
    s.lines.push_back("created " + db_.Path(created) + " inside it");
    const GlResult outside = db_.iec_GlobalVarWrite(cpu, record, created, kNoTransaction);
    char busy[64];
    std::snprintf(busy, sizeof busy, "a write outside the transaction answers 0x%05X (busy)", db_.ErrorId(outside));
    s.lines.push_back(busy);
    GlObjectSet set = nullptr;
    Check(db_, "gl_ObjectSetGet", db_.gl_ObjectSetGet(tr, set));
    Check(db_, "gl_TransactionAbort", db_.gl_TransactionAbort(tr));
    GlObjectId probe = 0;
    try {
      probe = db_.Resolve(controller + "/@gDemoOnly");
    } catch (const ChartDbError&) {
      probe = 0;
    }
    s.lines.push_back(std::string("aborted: ") + (probe == 0 ? "gDemoOnly is gone" : "gDemoOnly is still there!"));
  }

  void PlanNavigation() {
    Section& s = Add("Plan navigation through the helper library's exports");
    const GlObjectId cpu = db_.Resolve("D445_AXES");
    std::vector<std::string> names;
    W5GRX_RootPlansFromCPU(cpu, names, kTr);
    std::string list;
    for (const auto& n : names) list += (list.empty() ? "" : ", ") + n;
    s.lines.push_back("W5GRX_RootPlansFromCPU(D445_AXES): " + list);
    char name[64] = "safety";
    GlObjectId chart = 0;
    const bool found = W5GRX_RootPlanFromName(cpu, name, chart, kTr);
    s.lines.push_back(std::string("W5GRX_RootPlanFromName(\"safety\"): ") + (found ? "true" : "false") +
                      ", name now \"" + name + "\", " + db_.Path(chart));
    GlObjectId root = 0;
    W5GRX_RootPlanFromVarOrBlock(db_.Resolve("D445_AXES/Axis1/Homing/HomeSeq/Search/SrchCnt.CU"), root, kTr);
    s.lines.push_back("W5GRX_RootPlanFromVarOrBlock(.../Search/SrchCnt.CU): " + db_.Path(root));
    const GlObjectId homing = db_.Resolve("D445_AXES/Axis1/Homing");
    s.lines.push_back(std::string("W5GRX_IsRootPlan(Axis1/Homing): ") +
                      (W5GRX_IsRootPlan(homing, kTr) ? "true" : "false"));
  }

  void ObjectModel() {
    Section& s = Add("The object model (grx show D445_AXES/Axis1/Lim1.IN)");
    std::ostringstream text;
    RunShow(Options{}, "D445_AXES/Axis1/Lim1.IN", 0, text);
    std::istringstream lines(text.str());
    for (std::string line; std::getline(lines, line);) s.lines.push_back(line);
  }

  // One record of each kind the demo project keeps in blobs.
  void BlobRecords() {
    Section& s = Add("Blob records the library keeps beside the objects (grx blob OBJECT)");
    for (const char* path :
         {"D445_AXES", "D445_AXES/Axis1", "D445_AXES/#T1", "D445_AXES/#T1/G_Axis1", "D445_AXES/Axis1/Move1",
          "D445_AXES/@gLineSpeed", "D445_AXES/Axis1.SpeedSet", "D445_AXES/%MC_POWER.AXIS"}) {
      std::ostringstream text;
      RunBlob(Options{}, path, BlobActions{}, text);
      std::istringstream lines(text.str());
      for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  library element: ", 0) != 0) s.lines.push_back(line);
      }
    }
  }

  void NamesAndHierarchy() {
    Section& s = Add("Chart paths and name checks");
    GlObjectId chart = 0;
    W5GRX_GetChart(CString("Axis1\\Homing\\HomeSeq"), db_.Resolve("D445_AXES"), chart, kTr);
    s.lines.push_back("W5GRX_GetChart(\"Axis1\\Homing\\HomeSeq\"): " + db_.Path(chart));
    std::vector<GlObjectId> ids;
    const int count = W5GRX_GetSubPlansByPlanID(db_.Resolve("D445_AXES/Axis1"), kTr, ids);
    std::string list;
    for (GlObjectId id : ids)
      list += (list.empty() ? "" : ", ") + db_.Path(id).substr(std::string("D445_AXES/").size());
    s.lines.push_back("W5GRX_GetSubPlansByPlanID(Axis1): " + std::to_string(count) + " (" + list + ")");
    for (const char* name : {"Motor_1", "Motor_A", "While", "Feed_axis_2"}) {
      std::int32_t position = 0;
      const Syntax_Err_TypeEnum result = W5GRX_CheckRootPlanName(name, position);
      s.lines.push_back(std::string("W5GRX_CheckRootPlanName(\"") + name + "\"): " + std::to_string(result) +
                        ", position " + std::to_string(position));
    }
  }

  // One export of every family, called through its grx call adapter as a host would call it;
  // message boxes take their first button, the import's log is summed up.
  void Families() {
    Section& s = Add("One export of every family (grx call EXPORT name=value ...)");
    struct Call {
      const char* name;
      std::vector<std::string> arguments;
    };
    const Call calls[] = {
        {"W5GRX_IsSimpleType", {"name=time_of_day"}},
        {"W5GRX_IsCompatible", {"source=D445_AXES/Axis1/Pos1.POS", "sink=D445_AXES/Axis1/Lim1.IN"}},
        {"W5GRX_RootPlanFromName", {"cpuId=D445_AXES", "name=axis1"}},
        {"W5GRX_GetSubPlansByPlanID", {"chartId=D445_AXES/Axis1"}},
        {"W5GRX_CheckVarName", {"name=IF"}},
        {"W5GRX_GetTaskNamebyObjectId", {"taskId=D445_AXES/#T1", "objectId=D445_AXES/Axis1/Move1"}},
        {"FindGlobal", {"resourceId=D445_AXES", "name=gLineSpeed"}},
        {"W5GRX_SearchMoveBlocks", {"chartId=D445_AXES/Axis1/Homing"}},
        {"DoCfcMsgBox", {"messageId=1039", "style=36", "buttons=4"}},
        {"W5GRX_CheckDataVersion", {"objectId=D445_AXES", "update=false"}},
        {"W5GRX_SetHelpFileName", {"base=w5grxmhx"}},
        {"W5GRX_LogSummary", {"first=08:00", "second=08:01"}},
        {"W5GRX_GetErrorLocation", {"objectId=D445_AXES/Axis1", "location=E12 \".hometimer.PT\": too short"}},
        {"W5GRX_ASBlockTypeImport", {"resourceId=D445_AXES", "quiet=true"}},
    };
    for (const Call& call : calls) {
      const ExportEntry* entry = FindExport(call.name, call.arguments);
      if (!entry) throw GrxError(std::string("the demo calls an export the table does not have: ") + call.name);
      platform::ScriptedPresenter boxes;
      ImportLogCapture importLog;
      CallContext context(db_, call.arguments, platform::kNoWindow);
      Json answer{{"result", entry->invoke(context)}};
      for (const auto& [name, value] : context.outs().items()) answer[name] = Brief(value);
      if (const Json log = importLog.Take(); !log.is_null()) answer["log"] = Brief(log);
      if (!boxes.shown().empty()) answer["dialogs"] = boxes.shown().size();
      std::string arguments;
      for (const std::string& a : call.arguments) arguments += " " + a;
      s.lines.push_back(entry->family + ": " + call.name + arguments);
      s.lines.push_back("    -> " + JsonText(answer, -1));
    }
  }

  // grx check on the demo's first controller.
  void WholeControllerCheck() {
    Section& s = Add("The whole-controller check (grx check D445_AXES)");
    for (const Finding& f : CheckController(db_, db_.Resolve("D445_AXES"))) {
      s.lines.push_back(f.path + ": " + f.kind + ": " + f.message);
    }
  }

  void RoundTrip(std::string& failure) {
    Section& s = Add("Export and import give the same project");
    const std::string first = db_.Export();
    db_.Import(first, ":memory:");
    const std::string second = db_.Export();
    if (first == second) {
      s.lines.push_back("exported " + std::to_string(first.size()) +
                        " bytes; imported into memory and exported again: identical");
    } else {
      failure = "the exported description does not import unchanged";
      s.lines.push_back(failure);
    }
  }

private:
  Section& Add(std::string title) {
    sections.push_back({std::move(title), {}});
    return sections.back();
  }

  // Logs are summed up by their counters and line count; long lists by their length.
  static Json Brief(const Json& value) {
    if (value.is_object() && value.contains("lines")) {
      return Json{{"errors", value["errors"]}, {"warnings", value["warnings"]}, {"lines", value["lines"].size()}};
    }
    if (value.is_array() && value.size() > 3) return std::to_string(value.size()) + " items";
    return value;
  }

  static std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
  }

  ChartDbClient& db_;
};

std::filesystem::path MakeTemporaryFolder() {
  const std::string folder = platform::CreateTemporaryFolder("grx-demo-");
  if (folder.empty()) throw GrxError("cannot create a temporary folder");
  return folder;
}

} // namespace

int RunDemo(const Options& options, bool keep, std::ostream& out) {
  ChartDbClient& db = ChartDbClient::Instance();
  const std::filesystem::path folder = MakeTemporaryFolder();
  const std::string project = (folder / "demo.db").string();
  std::string failure;
  Json summary;
  std::vector<Section> sections;
  try {
    db.Import(DemoDescription(), project);
    db.Open(project);
    summary = SummarizeProject(db);
    Tour tour(db);
    tour.Paths();
    tour.Parameters("D445_AXES/Axis1/Move1");
    tour.GlobalUsers("D445_AXES/@gLineSpeed");
    tour.TextualReference("D445_AXES/Axis2/Gear2.RATIO");
    tour.RunSequence("D445_AXES/#T1", "D445_AXES/Axis1/Homing/HomeTrig");
    tour.Attributes("D445_AXES/Axis1/Move1");
    tour.RolledBackTransaction("D445_AXES");
    tour.PlanNavigation();
    tour.ObjectModel();
    tour.BlobRecords();
    tour.NamesAndHierarchy();
    tour.Families();
    tour.WholeControllerCheck();
    tour.RoundTrip(failure);
    sections = std::move(tour.sections);
  } catch (...) {
    db.CloseProject();
    if (!keep) std::filesystem::remove_all(folder);
    throw;
  }
  db.CloseProject();
  if (!keep) std::filesystem::remove_all(folder);

  if (options.json) {
    Json j;
    j["project"] = project;
    j["kept"] = keep;
    j["summary"] = summary;
    Json list = Json::array();
    for (const auto& s : sections) list.push_back(Json{{"title", s.title}, {"lines", s.lines}});
    j["tour"] = list;
    out << JsonText(j) << "\n";
  } else {
    out << "grx demo: the demo project, imported into " << project << (keep ? "" : " (removed afterwards)") << "\n\n";
    PrintSummary(summary, out);
    for (const auto& s : sections) {
      out << "\n== " << s.title << "\n";
      for (const auto& line : s.lines) out << "  " << line << "\n";
    }
  }
  if (!failure.empty()) {
    throw GrxError(failure);
  }
  return kExitOk;
}

} // namespace grx::cli
