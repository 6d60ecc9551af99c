// The listing exports (the global-variable search, the block-placement search, the sub-chart
// listing, the root charts of a controller, a chart by its name or path, the groups of a task) on
// generated projects of about 10^3, 10^4 and 10^5 objects. Each export is measured beside a baseline that
// makes the same kind of chart-database calls directly, without the library; the program prints
// export/baseline at each size (target: at most 1.3) and the growth from one size to the next ten
// times larger (target: at most 11, so no path is quadratic). --calls prints the API calls of
// both sides instead.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>

#include "chartdb_client.h"
#include "dbaccess/listing.h"
#include "grx/w5lhlpax.h"
#include "project_generator.h"
#include "generated_projects.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;
constexpr GlTransactionId kTr = kNoTransaction;
constexpr auto& kSizes = kScalingSizes; // root charts: about 10^3, 10^4 and 10^5 objects
constexpr auto Shape = ScalingShape;

GeneratedProjects& Projects() {
  static GeneratedProjects projects("grx-helpfuncs-bench-", Shape);
  return projects;
}

ChartDbClient& Open(int charts) {
  return Projects().Open(charts);
}

// --- FindGlobalVar, list form: one global by its whole name, every use located ----------------

void FindGlobalVarList(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) {
    std::vector<FIND> results;
    FindGlobalVar(cpu, "g000001", 3, results, kTr);
    benchmark::DoNotOptimize(results.data());
  }
}

// The same directly: every global's blob length and record, then for the one found its sinks and
// sources, each sink's owner and the charts above it, with their names; sorted by root chart.
struct Use {
  std::string location, root;
};

// name: the global variables searched (by default the one of FindGlobalVarList).
std::vector<Use> FindUsesDirect(
    ChartDbClient& db, GlObjectId cpu,
    bool (*wanted)(const char* name) = [](const char* name) { return std::strcmp(name, "g000001") == 0; }) {
  {
    std::vector<Use> uses;
    GlObjectId global = 0;
    List(
        db, [&](MODE mode) { return db.iec_GlobalVarsGet(mode, cpu, global, kTr); },
        [&] {
          std::uint32_t length = 0;
          db.iec_BlobLengthGet(global, length, kTr);
          Iec_GlobalVar record{};
          db.iec_GlobalVarRead(global, record, kTr);
          if (!wanted(record.name)) return;
          GlObjectType type = 0;
          db.iec_ObjectTypeGet(global, type, kTr);
          std::vector<GlObjectId> sinks;
          GlObjectId partner = 0;
          GlBool isConnection = 0;
          Iec_Connection connection{};
          List(
              db,
              [&](MODE mode) { return db.iec_SinksGet(mode, global, partner, type, isConnection, connection, kTr); },
              [&] { sinks.push_back(partner); });
          std::int32_t connectionType = 0;
          List(
              db,
              [&](MODE mode) {
                return db.iec_SourcesGetV6_0(mode, global, partner, type, connectionType, connection, kTr);
              },
              [] {});
          for (GlObjectId sink : sinks) {
            Iec_InVar var{};
            Iec_VarIdent ident{};
            db.iec_ObjectTypeGet(sink, type, kTr);
            db.iec_InVarRead(sink, var, ident, kTr);
            GlObjectId owner = 0;
            db.iec_VarBlockGet(sink, owner, kTr);
            char name[kGlNameSize];
            db.iec_ObjectTypeGet(owner, type, kTr);
            db.gl_ObjectNameGet(owner, name, kTr);
            Use use{std::string(name) + "." + var.name, {}};
            for (GlObjectId at = owner, chart = 0; db.gl_ErrorIdGet(db.iec_BlockCfcGet(at, chart, kTr)) == 0;
                 at = chart) {
              db.iec_ObjectTypeGet(chart, type, kTr);
              db.gl_ObjectNameGet(chart, name, kTr);
              use.location.insert(0, std::string("_") + name);
              use.root = name;
            }
            uses.push_back(use);
          }
        });
    std::stable_sort(uses.begin(), uses.end(), [](const Use& a, const Use& b) { return a.root > b.root; });
    return uses;
  }
}

// --- FindGlobalVar, pattern form: every global whose name holds "g" (all of them), every use ---

bool EveryGlobal(const char* name) {
  return std::strchr(name, 'g') != nullptr;
}

void FindGlobalVarPattern(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) {
    std::vector<FIND> results;
    FindGlobalVar(cpu, "g", 2, results, kTr);
    benchmark::DoNotOptimize(results.data());
  }
}

void FindGlobalVarPatternDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) benchmark::DoNotOptimize(FindUsesDirect(db, cpu, EveryGlobal).data());
}

void FindGlobalVarDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) benchmark::DoNotOptimize(FindUsesDirect(db, cpu).data());
}

// --- W5GRX_SearchMoveBlocks on one root chart and its sub-chart -------------------------------

void SearchMoveBlocks(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId chart = db.Resolve("GEN/C00001");
  for (auto _ : state) {
    std::vector<MoveBlockInfoT> blocks;
    W5GRX_SearchMoveBlocks(chart, blocks, kTr);
    benchmark::DoNotOptimize(blocks.data());
  }
}

void SearchBlocksDirect(ChartDbClient& db, GlObjectId chart, std::vector<MoveBlockInfoT>& blocks) {
  GlObjectId iter = 0, block = 0;
  GlObjectType type = 0;
  List(
      db, [&](MODE mode) { return db.iec_CfcBlocksGet(mode, IEC_SELECT_ALL, chart, iter, block, type, kTr); },
      [&] {
        if (type == IEC_OBJ_CFC) {
          SearchBlocksDirect(db, block, blocks);
          return;
        }
        MoveBlockInfoT info{};
        GlObjectId task = 0;
        Gl_RunSeqRecord place{};
        db.gl_ObjectAsTasksGet(M_FIRST, block, info.procGroupId, task, place, kTr);
        info.blockId = block;
        info.blockPos = place.blockPos;
        info.grPos = place.grPos;
        std::memcpy(info.tpName, place.taskName, sizeof info.tpName - 1);
        blocks.push_back(info);
      });
}

void SearchMoveBlocksDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId chart = db.Resolve("GEN/C00001");
  for (auto _ : state) {
    std::vector<MoveBlockInfoT> blocks;
    SearchBlocksDirect(db, chart, blocks);
    benchmark::DoNotOptimize(blocks.data());
  }
}

// --- W5GRX_GetSubPlansByPlanID on one root chart ----------------------------------------------

void GetSubPlansByPlanID(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId chart = db.Resolve("GEN/C00001");
  for (auto _ : state) {
    std::vector<GlObjectId> ids;
    benchmark::DoNotOptimize(W5GRX_GetSubPlansByPlanID(chart, kTr, ids));
  }
}

void SubChartsDirect(ChartDbClient& db, GlObjectId chart, std::vector<GlObjectId>& ids) {
  GlObjectId iter = 0, sub = 0;
  GlObjectType type = 0;
  List(
      db, [&](MODE mode) { return db.iec_CfcBlocksGet(mode, IEC_SELECT_IS_CFC, chart, iter, sub, type, kTr); },
      [&] {
        if (type != IEC_OBJ_CFC) return;
        ids.push_back(sub);
        SubChartsDirect(db, sub, ids);
      });
}

void GetSubPlansByPlanIDDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId chart = db.Resolve("GEN/C00001");
  for (auto _ : state) {
    std::vector<GlObjectId> ids;
    SubChartsDirect(db, chart, ids);
    benchmark::DoNotOptimize(ids.data());
  }
}

// --- W5GRX_RootPlansFromCPU and W5GRX_RootPlanIDsFromCPU on the whole controller ------------

void RootPlansFromCPU(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) {
    std::vector<std::string> names;
    benchmark::DoNotOptimize(W5GRX_RootPlansFromCPU(cpu, names, kTr));
  }
}

void RootPlanIDsFromCPU(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) {
    std::vector<GlObjectId> ids;
    benchmark::DoNotOptimize(W5GRX_RootPlanIDsFromCPU(cpu, ids, kTr));
  }
}

// The root charts directly; with names, each chart's name as well.
std::size_t RootChartsDirect(ChartDbClient& db, GlObjectId cpu, bool names) {
  std::size_t count = 0;
  GlObjectId chart = 0;
  GlObjectType type = 0;
  List(
      db, [&](MODE mode) { return db.iec_ChartsGet(mode, IEC_SELECT_IS_CFC, cpu, chart, type, kTr); },
      [&] {
        if (names) {
          char name[kGlNameSize];
          db.gl_ObjectNameGet(chart, name, kTr);
        }
        ++count;
      });
  return count;
}

void RootPlansFromCPUDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) benchmark::DoNotOptimize(RootChartsDirect(db, cpu, true));
}

void RootPlanIDsFromCPUDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) benchmark::DoNotOptimize(RootChartsDirect(db, cpu, false));
}

// --- W5GRX_RootPlanFromName and W5GRX_GetChart: the last root chart by its name -----------------

// The generator's name of the last root chart ("C00050").
std::string LastRootName(int charts) {
  char name[16];
  std::snprintf(name, sizeof name, "C%05d", charts);
  return name;
}

void RootPlanFromName(benchmark::State& state) {
  const int charts = static_cast<int>(state.range(0));
  ChartDbClient& db = Open(charts);
  const GlObjectId cpu = db.Resolve("GEN");
  const std::string last = LastRootName(charts);
  for (auto _ : state) {
    char name[kGlNameSize];
    std::snprintf(name, sizeof name, "%s", last.c_str());
    GlObjectId chart = 0;
    benchmark::DoNotOptimize(W5GRX_RootPlanFromName(cpu, name, chart, kTr));
  }
}

// The root charts directly, each one's name read and compared, until the one named.
GlObjectId RootByNameDirect(ChartDbClient& db, GlObjectId cpu, const std::string& wanted) {
  GlObjectId chart = 0, found = 0;
  GlObjectType type = 0;
  List(
      db, [&](MODE mode) { return db.iec_ChartsGet(mode, IEC_SELECT_IS_CFC, cpu, chart, type, kTr); },
      [&] {
        char name[kGlNameSize];
        db.gl_ObjectNameGet(chart, name, kTr);
        if (wanted != name) return grx::dbaccess::ListingStep::Next;
        found = chart;
        return grx::dbaccess::ListingStep::Stop;
      });
  return found;
}

void RootPlanFromNameDirect(benchmark::State& state) {
  const int charts = static_cast<int>(state.range(0));
  ChartDbClient& db = Open(charts);
  const GlObjectId cpu = db.Resolve("GEN");
  const std::string last = LastRootName(charts);
  for (auto _ : state) benchmark::DoNotOptimize(RootByNameDirect(db, cpu, last));
}

void GetChart(benchmark::State& state) {
  const int charts = static_cast<int>(state.range(0));
  ChartDbClient& db = Open(charts);
  const GlObjectId cpu = db.Resolve("GEN");
  const CString path(LastRootName(charts));
  for (auto _ : state) {
    GlObjectId chart = 0;
    benchmark::DoNotOptimize(W5GRX_GetChart(path, cpu, chart, kTr));
  }
}

// Every chart of the controller directly, with its name; in the one named, its sub-charts with
// their names.
std::size_t ChartByPathDirect(ChartDbClient& db, GlObjectId cpu, const std::string& wanted) {
  GlObjectId chart = 0;
  GlObjectType type = 0;
  std::size_t subCharts = 0;
  List(
      db, [&](MODE mode) { return db.iec_ChartsGet(mode, IEC_SELECT_ALL, cpu, chart, type, kTr); },
      [&] {
        char name[kGlNameSize];
        db.gl_ObjectNameGet(chart, name, kTr);
        if (wanted != name) return;
        GlObjectId iter = 0, block = 0;
        GlObjectType blockType = 0;
        List(
            db,
            [&](MODE mode) { return db.iec_CfcBlocksGet(mode, IEC_SELECT_IS_CFC, chart, iter, block, blockType, kTr); },
            [&] {
              if (blockType != IEC_OBJ_CFC) return;
              char subName[kGlNameSize];
              db.gl_ObjectNameGet(block, subName, kTr);
              ++subCharts;
            });
      });
  return subCharts;
}

void GetChartDirect(benchmark::State& state) {
  const int charts = static_cast<int>(state.range(0));
  ChartDbClient& db = Open(charts);
  const GlObjectId cpu = db.Resolve("GEN");
  const std::string last = LastRootName(charts);
  for (auto _ : state) benchmark::DoNotOptimize(ChartByPathDirect(db, cpu, last));
}

// --- W5GRX_GetTaskNamebyObjectId: a task's groups and their blocks, for an object in none ------

void GetTaskNamebyObjectId(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId task = db.Resolve("GEN/#T1");
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) {
    std::string name;
    benchmark::DoNotOptimize(W5GRX_GetTaskNamebyObjectId(task, cpu, name));
  }
}

std::size_t TaskMembersDirect(ChartDbClient& db, GlObjectId task) {
  std::size_t members = 0;
  GlObjectId group = 0;
  GlObjectType type = 0;
  List(
      db, [&](MODE mode) { return db.iec_TaskElementsGet(mode, IEC_SELECT_TASK_ELEMENTS, task, group, type, kTr); },
      [&] {
        GlObjectId member = 0;
        GlObjectType memberType = 0;
        List(
            db,
            [&](MODE mode) {
              return db.iec_ProcessingGroupBlocksGet(mode, IEC_SELECT_ALL, group, member, memberType, kNoTransaction);
            },
            [&] { ++members; });
      });
  return members;
}

void GetTaskNamebyObjectIdDirect(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId task = db.Resolve("GEN/#T1");
  for (auto _ : state) benchmark::DoNotOptimize(TaskMembersDirect(db, task));
}

#define GRX_SIZES Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])
// --- W5GRX_ReplaceGlobVar: every use of a global variable moved to another -------------------

constexpr int kUses[] = {100, 1000, 10000};

std::map<int, std::string>& RenameProjects() {
  static std::map<int, std::string> files;
  return files;
}

// A controller whose global gA feeds the input of `uses` blocks; gB exists beside it.
const std::string& RenameProject(int uses) {
  std::map<int, std::string>& files = RenameProjects();
  auto it = files.find(uses);
  if (it != files.end()) return it->second;
  std::string blocks, connections;
  for (int i = 0; i < uses; ++i) {
    const std::string name = "B" + std::to_string(i);
    blocks += std::string(i ? "," : "") + "{\"name\": \"" + name + "\", \"type\": \"MOV\"}";
    connections += std::string(i ? "," : "") + "{\"from\": \"@gA\", \"to\": \"C/" + name + ".IN\"}";
  }
  const std::string description =
      "{\"controllers\": [{\"name\": \"R\", \"blockTypes\": [{\"name\": \"MOV\", \"kind\": \"function\", "
      "\"parameters\": [{\"name\": \"IN\", \"type\": \"INT\"}, {\"name\": \"OUT\", \"direction\": \"out\", "
      "\"type\": \"INT\"}]}], \"globals\": [{\"name\": \"gA\", \"type\": \"INT\"}, {\"name\": \"gB\", \"type\": "
      "\"INT\"}], \"charts\": [{\"name\": \"C\", \"blocks\": [" +
      blocks + "]}], \"connections\": [" + connections + "]}]}";
  const auto path = std::filesystem::temp_directory_path() / ("grx-rename-bench-" + std::to_string(uses) + ".db");
  std::filesystem::remove(path);
  ChartDbClient::Instance().Import(description, path.string());
  return files.emplace(uses, path.string()).first->second;
}

// Each iteration moves the uses of gA to gB in a transaction that is rolled back afterwards (so
// that the next one finds them on gA again, and no iteration waits for the disk).
void ReplaceGlobVar(benchmark::State& state) {
  ChartDbClient& db = ChartDbClient::Instance();
  db.Open(RenameProject(static_cast<int>(state.range(0))));
  const GlObjectId cpu = db.Resolve("R");
  for (auto _ : state) {
    GlTransactionId tr = 0;
    db.gl_TransactionBegin(tr, kTr);
    W5GRX_ReplaceGlobVar(cpu, "gA", "gB", tr);
    state.PauseTiming();
    db.gl_TransactionAbort(tr);
    state.ResumeTiming();
  }
}

// The same chart-database calls made directly: the two globals found by name and read, the old
// one's blob read, the new one updated and its blob written, then every sink listed and moved.
void ReplaceGlobVarDirect(benchmark::State& state) {
  ChartDbClient& db = ChartDbClient::Instance();
  db.Open(RenameProject(static_cast<int>(state.range(0))));
  const GlObjectId cpu = db.Resolve("R");
  const auto byName = [&](const char* wanted, GlTransactionId tr) {
    GlObjectId global = 0, found = 0;
    List(
        db, [&](MODE m) { return db.iec_GlobalVarsGet(m, cpu, global, tr); },
        [&] {
          char name[kGlNameSize] = {};
          db.gl_ObjectNameGet(global, name, tr);
          if (std::strcmp(name, wanted) == 0) found = global;
        });
    return found;
  };
  std::vector<std::uint8_t> blob(4096);
  for (auto _ : state) {
    GlTransactionId tr = 0;
    db.gl_TransactionBegin(tr, kTr);
    const GlObjectId from = byName("gA", tr), to = byName("gB", tr);
    Iec_GlobalVar record{};
    db.iec_GlobalVarRead(from, record, tr);
    std::uint32_t length = 0, actual = 0;
    db.iec_BlobLengthGet(from, length, tr);
    if (length) db.iec_BlobRead(from, length, actual, blob.data(), tr);
    db.iec_GlobalVarRead(to, record, tr);
    db.iec_GlobalVarUpdate(to, record, tr);
    db.iec_BlobWrite(to, actual, blob.data(), tr);
    std::vector<std::pair<GlObjectId, Iec_Connection>> sinks;
    GlObjectId sink = 0;
    GlObjectType type = 0;
    GlBool isConnection = 0;
    Iec_Connection connection{};
    List(
        db, [&](MODE m) { return db.iec_SinksGet(m, from, sink, type, isConnection, connection, tr); },
        [&] { sinks.emplace_back(sink, connection); });
    for (const auto& [partner, c] : sinks) {
      db.iec_ConnectionDelete(partner, from, tr);
      db.iec_Connect(partner, to, c, tr);
    }
    GlObjectId source = 0;
    List(
        db, [&](MODE m) { return db.iec_SourcesGet(m, from, source, type, isConnection, connection, tr); }, [] {});
    state.PauseTiming();
    db.gl_TransactionAbort(tr);
    state.ResumeTiming();
  }
}

BENCHMARK(ReplaceGlobVar)->Arg(kUses[0])->Arg(kUses[1])->Arg(kUses[2])->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceGlobVarDirect)->Arg(kUses[0])->Arg(kUses[1])->Arg(kUses[2])->Unit(benchmark::kMillisecond);

BENCHMARK(FindGlobalVarList)->GRX_SIZES;
BENCHMARK(FindGlobalVarDirect)->GRX_SIZES;
BENCHMARK(FindGlobalVarPattern)->GRX_SIZES;
BENCHMARK(FindGlobalVarPatternDirect)->GRX_SIZES;
BENCHMARK(SearchMoveBlocks)->GRX_SIZES;
BENCHMARK(SearchMoveBlocksDirect)->GRX_SIZES;
BENCHMARK(GetSubPlansByPlanID)->GRX_SIZES;
BENCHMARK(GetSubPlansByPlanIDDirect)->GRX_SIZES;
BENCHMARK(RootPlansFromCPU)->GRX_SIZES;
BENCHMARK(RootPlansFromCPUDirect)->GRX_SIZES;
BENCHMARK(RootPlanIDsFromCPU)->GRX_SIZES;
BENCHMARK(RootPlanIDsFromCPUDirect)->GRX_SIZES;
BENCHMARK(RootPlanFromName)->GRX_SIZES;
BENCHMARK(RootPlanFromNameDirect)->GRX_SIZES;
BENCHMARK(GetChart)->GRX_SIZES;
BENCHMARK(GetChartDirect)->GRX_SIZES;
BENCHMARK(GetTaskNamebyObjectId)->GRX_SIZES;
BENCHMARK(GetTaskNamebyObjectIdDirect)->GRX_SIZES;

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  const std::pair<const char*, const char*> pairs[] = {{"FindGlobalVarList", "FindGlobalVarDirect"},
                                                       {"FindGlobalVarPattern", "FindGlobalVarPatternDirect"},
                                                       {"SearchMoveBlocks", "SearchMoveBlocksDirect"},
                                                       {"GetSubPlansByPlanID", "GetSubPlansByPlanIDDirect"},
                                                       {"RootPlansFromCPU", "RootPlansFromCPUDirect"},
                                                       {"RootPlanIDsFromCPU", "RootPlanIDsFromCPUDirect"},
                                                       {"RootPlanFromName", "RootPlanFromNameDirect"},
                                                       {"GetChart", "GetChartDirect"},
                                                       {"GetTaskNamebyObjectId", "GetTaskNamebyObjectIdDirect"}};
  auto time = [&](const char* name, int size) { return reporter.Time(std::string(name) + "/" + std::to_string(size)); };
  out << "\nexport / direct calls at each size (target <= 1.3); growth per ten times the size (target <= 11):\n";
  for (const auto& [exported, direct] : pairs) {
    out << "  " << exported << ":";
    for (int size : kSizes) {
      const double e = time(exported, size), d = time(direct, size);
      if (e > 0 && d > 0) {
        out << "  " << Shape(size).charts << " charts " << e / d << (e / d <= 1.3 ? " (ok)" : " (TOO SLOW)");
      }
    }
    for (std::size_t i = 1; i < std::size(kSizes); ++i) {
      const double before = time(exported, kSizes[i - 1]), after = time(exported, kSizes[i]);
      if (before > 0 && after > 0) {
        out << "  growth " << after / before << (after / before <= 11 ? " (ok)" : " (QUADRATIC?)");
      }
    }
    out << "\n";
  }
  out << "  ReplaceGlobVar:";
  for (int uses : kUses) {
    const double e = time("ReplaceGlobVar", uses), d = time("ReplaceGlobVarDirect", uses);
    if (e > 0 && d > 0) out << "  " << uses << " uses " << e / d << (e / d <= 1.3 ? " (ok)" : " (TOO SLOW)");
  }
  for (std::size_t i = 1; i < std::size(kUses); ++i) {
    const double before = time("ReplaceGlobVar", kUses[i - 1]), after = time("ReplaceGlobVar", kUses[i]);
    if (before > 0 && after > 0)
      out << "  growth " << after / before << (after / before <= 11 ? " (ok)" : " (QUADRATIC?)");
  }
  out << "\n";
}

} // namespace

// With --calls: the calls of each API function one run of each side makes on the smallest
// project, to show that export and baseline ask the chart database the same.
void PrintCallCounts(std::ostream& out) {
  static const char* const kFunctions[] = {
#define GRX_API(kind, result, name, ...) #name,
#include "chartdb/q3jdbmox_functions.def"
  };
  ChartDbClient& db = Open(kSizes[0]);
  const GlObjectId cpu = db.Resolve("GEN");
  auto count = [&](const char* side, auto&& run) {
    db.ResetCallCounts();
    run();
    out << "  " << side << ":";
    for (const char* f : kFunctions) {
      if (const auto n = db.CallCount(f); n > 0 && std::strcmp(f, "gl_ErrorIdGet") != 0) out << " " << f << " " << n;
    }
    out << "\n";
  };
  std::vector<FIND> results;
  count("FindGlobalVar", [&] { FindGlobalVar(cpu, "g000001", 3, results, kTr); });
  count("direct", [&] { FindUsesDirect(db, cpu); });
  results.clear();
  count("FindGlobalVar pattern", [&] { FindGlobalVar(cpu, "g", 2, results, kTr); });
  count("direct", [&] { FindUsesDirect(db, cpu, EveryGlobal); });
  const GlObjectId chart = db.Resolve("GEN/C00001");
  std::vector<MoveBlockInfoT> blocks;
  count("W5GRX_SearchMoveBlocks", [&] { W5GRX_SearchMoveBlocks(chart, blocks, kTr); });
  count("direct", [&] { SearchBlocksDirect(db, chart, blocks); });
  std::vector<GlObjectId> ids;
  count("W5GRX_GetSubPlansByPlanID", [&] { W5GRX_GetSubPlansByPlanID(chart, kTr, ids); });
  count("direct", [&] { SubChartsDirect(db, chart, ids); });
  std::vector<std::string> names;
  count("W5GRX_RootPlansFromCPU", [&] { W5GRX_RootPlansFromCPU(cpu, names, kTr); });
  count("direct", [&] { RootChartsDirect(db, cpu, true); });
  ids.clear();
  count("W5GRX_RootPlanIDsFromCPU", [&] { W5GRX_RootPlanIDsFromCPU(cpu, ids, kTr); });
  count("direct", [&] { RootChartsDirect(db, cpu, false); });
  const std::string last = LastRootName(kSizes[0]);
  char name[kGlNameSize];
  std::snprintf(name, sizeof name, "%s", last.c_str());
  GlObjectId found = 0;
  count("W5GRX_RootPlanFromName", [&] { W5GRX_RootPlanFromName(cpu, name, found, kTr); });
  count("direct", [&] { RootByNameDirect(db, cpu, last); });
  count("W5GRX_GetChart", [&] { W5GRX_GetChart(CString(last), cpu, found, kTr); });
  count("direct", [&] { ChartByPathDirect(db, cpu, last); });
  const GlObjectId task = db.Resolve("GEN/#T1");
  std::string taskName;
  count("W5GRX_GetTaskNamebyObjectId", [&] { W5GRX_GetTaskNamebyObjectId(task, cpu, taskName); });
  count("direct", [&] { TaskMembersDirect(db, task); });
}

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--calls") {
    PrintCallCounts(std::cout);
    return 0;
  }
  const int exitCode = RunBenchmarksAndPrintRatios(argc, argv, PrintRatios);
  Projects().RemoveAll();
  for (const auto& [uses, file] : RenameProjects()) std::filesystem::remove(file);
  return exitCode;
}
