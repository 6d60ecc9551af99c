#include "project_summary.h"

#include <cstdio>

#include "api_iteration.h"

namespace grx::cli {
namespace {

using Json = nlohmann::ordered_json;
constexpr GlTransactionId kTr = kNoTransaction;

struct Counts {
  std::int64_t charts = 0, subCharts = 0, blocks = 0, parameters = 0, interfaceVariables = 0, globals = 0, tasks = 0,
               groups = 0, connections = 0;
};

class Summarizer {
public:
  Summarizer(ChartDbClient& db, int depth) : db_(db), depth_(depth) {}

  Json Run() {
    Json summary;
    char version[kGlVersionSize] = {};
    Check(db_, "gl_SoftwareVersionGet", db_.gl_SoftwareVersionGet(version));
    const auto controllers = db_.ControllerIds();
    Json project = Json::object();
    if (!controllers.empty()) {
      char projectName[257] = {}, logicalPath[257] = {}, objectName[kGlNameSize] = {}, separator[2] = ".";
      Check(db_, "gl_LogicalPathGetV6_0",
            db_.gl_LogicalPathGetV6_0(controllers.front(), projectName, logicalPath, objectName, separator, 1, kTr));
      char path[257] = {}, file[257] = {};
      Check(db_, "gl_ProjectPathGet", db_.gl_ProjectPathGet(controllers.front(), path, file, kTr));
      project["name"] = projectName;
      project["path"] = path;
      project["file"] = file;
    }
    summary["project"] = project;
    summary["softwareVersion"] = version;
    Json list = Json::array();
    for (GlObjectId cpu : controllers) list.push_back(Controller(cpu));
    summary["controllers"] = list;
    return summary;
  }

private:
  Json Controller(GlObjectId cpu) {
    counts_ = Counts{};
    Iec_Resource record{};
    Check(db_, "iec_ResourceRead", db_.iec_ResourceRead(cpu, record, kTr));
    char dataVersion[kGlVersionSize] = {};
    Check(db_, "gl_DataVersionGet", db_.gl_DataVersionGet(cpu, dataVersion, kTr));
    Json c;
    c["name"] = record.name;
    c["type"] = record.typeName;
    char family[16];
    std::snprintf(family, sizeof family, "0x%x", record.family);
    c["family"] = family;
    c["dataVersion"] = dataVersion;

    Json charts = Json::array();
    GlObjectId chart = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::vector<GlObjectId> roots;
    ForEachElement(
        db_, "iec_ChartsGet",
        [&](MODE mode) { return db_.iec_ChartsGet(mode, IEC_SELECT_IS_CFC, cpu, chart, type, kTr); },
        [&] { roots.push_back(chart); });
    for (GlObjectId root : roots) {
      Json listed = Chart(root, 1);
      if (depth_ != 0) charts.push_back(std::move(listed));
    }
    c["charts"] = charts;

    GlObjectId global = 0;
    ForEachElement(
        db_, "iec_GlobalVarsGet", [&](MODE mode) { return db_.iec_GlobalVarsGet(mode, cpu, global, kTr); },
        [&] {
          ++counts_.globals;
          CountSources(global);
        });

    Json tasks = Json::array();
    GlObjectId task = 0;
    std::vector<GlObjectId> taskIds;
    ForEachElement(
        db_, "iec_TasksGet", [&](MODE mode) { return db_.iec_TasksGet(mode, cpu, task, kTr); },
        [&] { taskIds.push_back(task); });
    for (GlObjectId t : taskIds) tasks.push_back(Task(t));
    c["tasks"] = tasks;

    c["counts"] = Json{{"charts", counts_.charts},
                       {"subCharts", counts_.subCharts},
                       {"blocks", counts_.blocks},
                       {"parameters", counts_.parameters},
                       {"interfaceVariables", counts_.interfaceVariables},
                       {"globals", counts_.globals},
                       {"tasks", counts_.tasks},
                       {"groups", counts_.groups},
                       {"connections", counts_.connections}};
    return c;
  }

  std::string Name(GlObjectId id) {
    char name[kGlNameSize] = {};
    Check(db_, "gl_ObjectNameGet", db_.gl_ObjectNameGet(id, name, kTr));
    return name;
  }

  void CountSources(GlObjectId sink) {
    GlObjectId source = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::int32_t connectionType = 0;
    Iec_Connection connection{};
    ForEachElement(
        db_, "iec_SourcesGetV6_0",
        [&](MODE mode) { return db_.iec_SourcesGetV6_0(mode, sink, source, type, connectionType, connection, kTr); },
        [&] { ++counts_.connections; });
  }

  // Counts the variables of a block or chart and the connections that feed them.
  std::int64_t CountVariables(GlObjectId owner) {
    GlObjectId var = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::vector<GlObjectId> vars;
    ForEachElement(
        db_, "iec_VarsGet", [&](MODE mode) { return db_.iec_VarsGet(mode, IEC_SELECT_ALL, owner, var, type, kTr); },
        [&] { vars.push_back(var); });
    for (GlObjectId v : vars) CountSources(v);
    return static_cast<std::int64_t>(vars.size());
  }

  // A chart and its sub-charts at a level of the tree (1: a root chart); every chart is counted,
  // those below the depth asked for are not listed.
  Json Chart(GlObjectId chart, int level) {
    ++(level == 1 ? counts_.charts : counts_.subCharts);
    counts_.interfaceVariables += CountVariables(chart);
    Json j;
    j["name"] = Name(chart);
    j["path"] = db_.Path(chart);
    std::int64_t blocks = 0;
    std::vector<GlObjectId> subCharts;
    GlObjectId iter = 0, block = 0;
    GlObjectType type = IEC_OBJ_NULL;
    ForEachElement(
        db_, "iec_CfcBlocksGet",
        [&](MODE mode) { return db_.iec_CfcBlocksGet(mode, IEC_SELECT_ALL, chart, iter, block, type, kTr); },
        [&] {
          if (type == IEC_OBJ_CFC) {
            subCharts.push_back(block);
          } else {
            ++blocks;
            counts_.parameters += CountVariables(block);
          }
        });
    counts_.blocks += blocks;
    j["blocks"] = blocks;
    Json subs = Json::array();
    for (GlObjectId sub : subCharts) {
      Json listed = Chart(sub, level + 1);
      if (depth_ < 0 || level < depth_) subs.push_back(std::move(listed));
    }
    if (!subs.empty()) j["charts"] = subs;
    return j;
  }

  Json Members(GlObjectId container, bool task) {
    Json members = Json::array();
    GlObjectId member = 0;
    GlObjectType type = IEC_OBJ_NULL;
    auto call = [&](MODE mode) {
      return task ? db_.iec_TaskElementsGet(mode, IEC_SELECT_ALL, container, member, type, kTr)
                  : db_.iec_ProcessingGroupBlocksGet(mode, IEC_SELECT_ALL, container, member, type, kTr);
    };
    ForEachElement(db_, task ? "iec_TaskElementsGet" : "iec_ProcessingGroupBlocksGet", call, [&] {
      if (type == IEC_OBJ_PROCESSING_GROUP) return;
      members.push_back(type == IEC_OBJ_NULL ? "(" + Name(member) + ")" : db_.Path(member));
    });
    return members;
  }

  Json Task(GlObjectId task) {
    ++counts_.tasks;
    Iec_Task record{};
    Check(db_, "iec_TaskRead", db_.iec_TaskRead(task, record, kTr));
    Json j;
    j["name"] = record.name;
    j["cycleMs"] = record.cycleTimeMs;
    Json groups = Json::array();
    GlObjectId group = 0;
    GlObjectType type = IEC_OBJ_NULL;
    std::vector<GlObjectId> groupIds;
    ForEachElement(
        db_, "iec_TaskElementsGet",
        [&](MODE mode) { return db_.iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, task, group, type, kTr); },
        [&] { groupIds.push_back(group); });
    for (GlObjectId g : groupIds) {
      ++counts_.groups;
      CountSources(g);
      groups.push_back(Json{{"name", Name(g)}, {"members", Members(g, false)}});
    }
    j["groups"] = groups;
    const Json direct = Members(task, true);
    if (!direct.empty()) j["members"] = direct;
    return j;
  }

  ChartDbClient& db_;
  int depth_;
  Counts counts_;
};

void PrintCharts(const Json& charts, std::ostream& out, int depth) {
  for (const auto& chart : charts) {
    out << std::string(static_cast<std::size_t>(2 * depth), ' ') << chart["name"].get<std::string>() << "  ("
        << chart["blocks"].get<std::int64_t>() << " blocks)\n";
    if (chart.contains("charts")) PrintCharts(chart["charts"], out, depth + 1);
  }
}

std::string JoinTexts(const Json& list) {
  std::string text;
  for (const auto& item : list) text += (text.empty() ? "" : ", ") + item.get<std::string>();
  return text.empty() ? "(empty)" : text;
}

} // namespace

nlohmann::ordered_json SummarizeProject(ChartDbClient& db, int depth) {
  return Summarizer(db, depth).Run();
}

void PrintSummary(const nlohmann::ordered_json& summary, std::ostream& out) {
  const auto& project = summary["project"];
  out << "Project " << project.value("name", std::string("(unnamed)"));
  if (!project.value("file", std::string()).empty()) {
    out << "  (" << project.value("path", std::string()) << "\\" << project.value("file", std::string()) << ")";
  }
  out << "\nChart software " << summary["softwareVersion"].get<std::string>() << ", " << summary["controllers"].size()
      << " controller(s)\n";
  for (const auto& c : summary["controllers"]) {
    out << "\nController " << c["name"].get<std::string>() << "  type " << c["type"].get<std::string>() << "  family "
        << c["family"].get<std::string>() << "  data version " << c["dataVersion"].get<std::string>() << "\n  Charts\n";
    PrintCharts(c["charts"], out, 2);
    out << "  Tasks\n";
    for (const auto& t : c["tasks"]) {
      out << "    " << t["name"].get<std::string>() << "  cycle " << t["cycleMs"].get<std::int64_t>() << " ms\n";
      for (const auto& g : t["groups"]) {
        out << "      " << g["name"].get<std::string>() << ": " << JoinTexts(g["members"]) << "\n";
      }
      if (t.contains("members")) out << "      (in the task): " << JoinTexts(t["members"]) << "\n";
    }
    const auto& n = c["counts"];
    out << "  Counts: " << n["charts"] << " charts, " << n["subCharts"] << " sub-charts, " << n["blocks"] << " blocks, "
        << n["parameters"] << " parameters, " << n["interfaceVariables"] << " interface variables, " << n["globals"]
        << " global variables, " << n["tasks"] << " tasks, " << n["groups"] << " processing groups, "
        << n["connections"] << " connections\n";
  }
}

} // namespace grx::cli
