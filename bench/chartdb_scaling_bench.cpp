// How the chart-database stand-in's calls scale with the size of a project: every call must stay
// cheap (logarithmic) on projects of 10^5 objects. Each operation is measured on a small project
// (about 10^3 objects, the baseline) and on a large one (about 10^5 objects) in the same run,
// and the ratio large/small is printed.
#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>
#include <map>
#include <random>

#include "chartdb_client.h"
#include "dbaccess/listing.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;
constexpr GlTransactionId kTr = kNoTransaction;

// A project of `charts` charts with 100 blocks each (four objects per block), every block's IN1
// fed by the OUT of the block before it.
std::string Description(int charts) {
  nlohmann::json controller = {{"name", "R"}};
  controller["blockTypes"] = {{{"name", "ADD"},
                               {"kind", "function"},
                               {"parameters",
                                {{{"name", "IN1"}, {"type", "REAL"}},
                                 {{"name", "IN2"}, {"type", "REAL"}},
                                 {{"name", "OUT"}, {"direction", "out"}, {"type", "REAL"}}}}}};
  nlohmann::json chartList = nlohmann::json::array(), connections = nlohmann::json::array();
  for (int c = 0; c < charts; ++c) {
    nlohmann::json blocks = nlohmann::json::array();
    const std::string chart = "C" + std::to_string(c);
    for (int b = 0; b < 100; ++b) {
      blocks.push_back({{"name", "B" + std::to_string(b)}, {"type", "ADD"}});
      if (b > 0) {
        connections.push_back({{"from", chart + "/B" + std::to_string(b - 1) + ".OUT"},
                               {"to", chart + "/B" + std::to_string(b) + ".IN1"}});
      }
    }
    chartList.push_back({{"name", chart}, {"blocks", blocks}});
  }
  controller["charts"] = chartList;
  controller["connections"] = connections;
  return nlohmann::json{{"controllers", {controller}}}.dump();
}

const std::string& ProjectFile(int charts) {
  static std::map<int, std::string> files;
  auto it = files.find(charts);
  if (it == files.end()) {
    const auto path = std::filesystem::temp_directory_path() / ("grx-bench-" + std::to_string(charts) + ".db");
    std::filesystem::remove(path);
    if (ChartDbClient::Instance().ImportDescription(Description(charts).c_str(), path.c_str()) != 0) {
      std::cerr << ChartDbClient::Instance().LastError() << "\n";
      std::abort();
    }
    it = files.emplace(charts, path.string()).first;
  }
  return it->second;
}

// Opens the project of the size and hands out random block identifiers.
struct Project {
  explicit Project(int charts) : db(ChartDbClient::Instance()), charts(charts) { db.Open(ProjectFile(charts)); }
  GlObjectId RandomBlock() {
    return db.Resolve("R/C" + std::to_string(random() % charts) + "/B" + std::to_string(random() % 100));
  }
  std::vector<GlObjectId> Sample(std::size_t n, const std::string& suffix = {}) {
    std::vector<GlObjectId> ids;
    for (std::size_t i = 0; i < n; ++i) {
      ids.push_back(
          db.Resolve("R/C" + std::to_string(random() % charts) + "/B" + std::to_string(1 + random() % 99) + suffix));
    }
    return ids;
  }
  ChartDbClient& db;
  int charts;
  std::mt19937 random{7};
};

void NameGet(benchmark::State& state) {
  Project p(static_cast<int>(state.range(0)));
  const auto ids = p.Sample(512);
  char name[kGlNameSize];
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(p.db.gl_ObjectNameGet(ids[i++ % ids.size()], name, kTr));
  }
}

void ChartBlocksStep(benchmark::State& state) {
  Project p(static_cast<int>(state.range(0)));
  const GlObjectId chart = p.db.Resolve("R/C0");
  GlObjectId iter = 0, block = 0;
  GlObjectType type = 0;
  MODE mode = M_FIRST;
  for (auto _ : state) {
    const GlResult r = p.db.iec_CfcBlocksGet(mode, IEC_SELECT_ALL, chart, iter, block, type, kTr);
    mode = p.db.gl_ErrorIdGet(r) == 0 ? M_NEXT : M_FIRST;
  }
}

void BlockParameters(benchmark::State& state) {
  Project p(static_cast<int>(state.range(0)));
  const auto blocks = p.Sample(512);
  GlObjectId var = 0;
  GlObjectType type = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const GlObjectId block = blocks[i++ % blocks.size()];
    grx::dbaccess::ForEachListedWith(
        [&](GlResult r) { return p.db.gl_ErrorIdGet(r); },
        [&](MODE mode) { return p.db.iec_VarsGet(mode, IEC_SELECT_ALL, block, var, type, kTr); }, [] {});
  }
}

void SourcesOfAnInput(benchmark::State& state) {
  Project p(static_cast<int>(state.range(0)));
  const auto inputs = p.Sample(512, ".IN1");
  GlObjectId source = 0;
  GlObjectType type = 0;
  std::int32_t connectionType = 0;
  Iec_Connection connection{};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        p.db.iec_SourcesGetV6_0(M_FIRST, inputs[i++ % inputs.size()], source, type, connectionType, connection, kTr));
  }
}

void ReadInput(benchmark::State& state) {
  Project p(static_cast<int>(state.range(0)));
  const auto inputs = p.Sample(512, ".IN2");
  Iec_InVar var{};
  Iec_VarIdent ident{};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(p.db.iec_InVarRead(inputs[i++ % inputs.size()], var, ident, kTr));
  }
}

// A description of n charts, nested each in the one before (nested) or side by side (flat).
std::string ChartsDescription(int n, bool nested) {
  std::string charts;
  for (int i = 0; i < n; ++i) {
    charts += std::string(i > 0 && !nested ? "," : "") + "{\"name\": \"C" + std::to_string(i) + "\", \"charts\": [";
    if (!nested) charts += "]}";
  }
  if (nested) {
    for (int i = 0; i < n; ++i) charts += "]}";
  }
  return "{\"controllers\": [{\"name\": \"R\", \"charts\": [" + charts + "]}]}";
}

// Import of a description into memory and export of it again; state.range(1) 1 nests the charts.
void ImportAndExport(benchmark::State& state) {
  const std::string description = ChartsDescription(static_cast<int>(state.range(0)), state.range(1) != 0);
  ChartDbClient& db = ChartDbClient::Instance();
  for (auto _ : state) {
    if (db.ImportDescription(description.c_str(), ":memory:") != 0) std::abort();
    const char* text = nullptr;
    if (db.ExportDescription(&text) != 0) std::abort();
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(ImportAndExport)
    ->Args({300, 0})
    ->Args({300, 1})
    ->Args({3000, 0})
    ->Args({3000, 1})
    ->Unit(benchmark::kMillisecond);

constexpr int kSmall = 2;   // 2 charts:   about 800 objects
constexpr int kLarge = 250; // 250 charts: about 100,000 objects

BENCHMARK(NameGet)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ChartBlocksStep)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(BlockParameters)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(SourcesOfAnInput)->Arg(kSmall)->Arg(kLarge);
BENCHMARK(ReadInput)->Arg(kSmall)->Arg(kLarge);

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  out << "\nlarge (10^5 objects) / small (10^3 objects), time per call:\n";
  for (const char* name : {"NameGet", "ChartBlocksStep", "BlockParameters", "SourcesOfAnInput", "ReadInput"}) {
    const double small = reporter.Time(std::string(name) + "/" + std::to_string(kSmall));
    const double large = reporter.Time(std::string(name) + "/" + std::to_string(kLarge));
    if (small <= 0 || large <= 0) continue;
    const double ratio = large / small;
    out << "  " << name << ": " << ratio << (ratio < 3.0 ? "  (ok: grows at most logarithmically)" : "  (TOO SLOW)")
        << "\n";
  }
  const double flat = reporter.Time("ImportAndExport/3000/0"), nested = reporter.Time("ImportAndExport/3000/1");
  const double nested300 = reporter.Time("ImportAndExport/300/1");
  if (flat > 0 && nested > 0 && nested300 > 0) {
    out << "charts nested 3000 deep / side by side, import and export: " << nested / flat
        << (nested / flat <= 1.5 ? "  (ok: at most 1.5)" : "  (TOO SLOW)") << "\n"
        << "charts nested 3000 deep / 300 deep: " << nested / nested300
        << (nested / nested300 <= 11 ? "  (ok: linear, at most 11)" : "  (TOO SLOW)") << "\n";
  }
}

} // namespace

int main(int argc, char** argv) {
  const int exitCode = RunBenchmarksAndPrintRatios(argc, argv, PrintRatios);
  ChartDbClient::Instance().CloseProject();
  for (int charts : {kSmall, kLarge}) std::filesystem::remove(ProjectFile(charts));
  return exitCode;
}
