// grx check's whole-controller check on generated projects of about 10^3, 10^4 and 10^5 objects,
// beside a baseline that walks the same charts, blocks, variables, connections and global
// variables through the chart database without checking anything. It prints check/walk at each
// size (what the checks cost on top of the walk) and the growth from one size to the next ten
// times larger beside the walk's own growth: the chart database's lookups grow a little faster
// than the project (its indexes deepen), so the check is linear when its growth stays within that
// of the walk (target: check growth / walk growth at most 1.2).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>

#include "chartdb_client.h"
#include "dbaccess/listing.h"
#include "project_check.h"
#include "project_generator.h"
#include "generated_projects.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;
constexpr GlTransactionId kTr = kNoTransaction;
constexpr auto& kSizes = kScalingSizes; // root charts: about 10^3, 10^4 and 10^5 objects
constexpr auto Shape = ScalingShape;

GeneratedProjects& Projects() {
  static GeneratedProjects projects("grx-check-bench-", Shape);
  return projects;
}

ChartDbClient& Open(int charts) {
  return Projects().Open(charts);
}

void Check(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  std::size_t findings = 0;
  for (auto _ : state) findings = grx::cli::CheckController(db, cpu).size();
  state.counters["findings"] = static_cast<double>(findings);
}

void WalkVariables(ChartDbClient& db, GlObjectId owner) {
  GlObjectId var = 0, source = 0;
  GlObjectType type = 0;
  std::vector<GlObjectId> vars;
  List(
      db, [&](MODE m) { return db.iec_VarsGet(m, IEC_SELECT_ALL, owner, var, type, kTr); },
      [&] { vars.push_back(var); });
  for (GlObjectId v : vars) {
    std::int32_t connectionType = 0;
    Iec_Connection connection{};
    List(
        db, [&](MODE m) { return db.iec_SourcesGetV6_0(m, v, source, type, connectionType, connection, kTr); }, [] {});
  }
}

void WalkChart(ChartDbClient& db, GlObjectId chart) {
  char name[kGlNameSize];
  db.gl_ObjectNameGet(chart, name, kTr);
  WalkVariables(db, chart);
  GlObjectId iter = 0, block = 0;
  GlObjectType type = 0;
  std::vector<GlObjectId> blocks, subs;
  List(
      db, [&](MODE m) { return db.iec_CfcBlocksGet(m, IEC_SELECT_ALL, chart, iter, block, type, kTr); },
      [&] { (type == IEC_OBJ_CFC ? subs : blocks).push_back(block); });
  for (GlObjectId b : blocks) {
    db.gl_ObjectNameGet(b, name, kTr);
    WalkVariables(db, b);
  }
  for (GlObjectId s : subs) WalkChart(db, s);
}

void Walk(benchmark::State& state) {
  ChartDbClient& db = Open(static_cast<int>(state.range(0)));
  const GlObjectId cpu = db.Resolve("GEN");
  for (auto _ : state) {
    GlObjectId chart = 0, global = 0;
    GlObjectType type = 0;
    std::vector<GlObjectId> roots, globals;
    List(
        db, [&](MODE m) { return db.iec_ChartsGet(m, IEC_SELECT_IS_CFC, cpu, chart, type, kTr); },
        [&] { roots.push_back(chart); });
    for (GlObjectId root : roots) WalkChart(db, root);
    List(
        db, [&](MODE m) { return db.iec_GlobalVarsGet(m, cpu, global, kTr); }, [&] { globals.push_back(global); });
    for (GlObjectId g : globals) WalkVariables(db, g);
  }
}

BENCHMARK(Check)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(Walk)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Unit(benchmark::kMillisecond);

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  auto time = [&](const char* name, int size) { return reporter.Time(std::string(name) + "/" + std::to_string(size)); };
  out << "\ncheck / bare walk at each size; growth per ten times the size against the walk's (target <= 1.2):\n"
         "  check:";
  for (int size : kSizes) {
    const double c = time("Check", size), w = time("Walk", size);
    if (c > 0 && w > 0) {
      out << "  " << grx::cli::GeneratedObjectCount(Shape(size)) << " objects " << c / w;
    }
  }
  for (std::size_t i = 1; i < std::size(kSizes); ++i) {
    const double before = time("Check", kSizes[i - 1]), after = time("Check", kSizes[i]);
    const double walkBefore = time("Walk", kSizes[i - 1]), walkAfter = time("Walk", kSizes[i]);
    if (before <= 0 || after <= 0 || walkBefore <= 0 || walkAfter <= 0) continue;
    const double growth = after / before, walkGrowth = walkAfter / walkBefore;
    out << "  growth " << growth << " (walk " << walkGrowth << ", " << growth / walkGrowth
        << (growth / walkGrowth <= 1.2 ? " ok)" : " NOT LINEAR)");
  }
  out << "\n";
}

} // namespace

int main(int argc, char** argv) {
  const int exitCode = RunBenchmarksAndPrintRatios(argc, argv, PrintRatios);
  Projects().RemoveAll();
  return exitCode;
}
