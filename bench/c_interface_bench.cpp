// What the C interface adds to an export: the same call through its C function (the frame that
// keeps the last error, the checks of the caller's pointers, the conversion of the answers into
// memory the caller releases) against the C++ export, on the demo project: a type query, a listing
// of a controller's root charts and the search for a global variable's uses.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "chartdb_client.h"
#include "grx/w5lhlpax.h"
#include "grx/w5lhlpax_c.h"
#include "platform/process.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;

constexpr GlTransactionId kNone = 0xFFFF;

GlObjectId Controller() {
  static const GlObjectId controller = [] {
    grx::platform::RemoveEnvironmentValue("ES_LOG_FILE");
    std::ifstream in(std::string(GRX_SOURCE_DIR) + "/examples/demo.json", std::ios::binary);
    std::stringstream json;
    json << in.rdbuf();
    ChartDbClient::Instance().Import(json.str(), ":memory:");
    return ChartDbClient::Instance().Resolve("D445_AXES");
  }();
  return controller;
}

void TypeQueryCpp(benchmark::State& state) {
  std::uint32_t es = 0;
  GlDataType iec = 0;
  for (auto _ : state) benchmark::DoNotOptimize(W5GRX_IsSimpleType("LREAL", es, iec));
}

void TypeQueryC(benchmark::State& state) {
  std::uint32_t es = 0;
  grx_data_type iec = 0;
  for (auto _ : state) benchmark::DoNotOptimize(grx_IsSimpleType("LREAL", &es, &iec));
}

void RootChartsCpp(benchmark::State& state) {
  const GlObjectId controller = Controller();
  for (auto _ : state) {
    std::vector<std::string> names;
    benchmark::DoNotOptimize(W5GRX_RootPlansFromCPU(controller, names, kNone));
  }
}

void RootChartsC(benchmark::State& state) {
  const GlObjectId controller = Controller();
  for (auto _ : state) {
    char** names = nullptr;
    size_t count = 0;
    benchmark::DoNotOptimize(grx_RootPlansFromCPU(controller, &names, &count, kNone));
    grx_free_texts(names, count);
  }
}

void GlobalUsesCpp(benchmark::State& state) {
  const GlObjectId controller = Controller();
  for (auto _ : state) {
    std::vector<FIND> uses;
    benchmark::DoNotOptimize(FindGlobalVar(controller, CString("Speed"), 0, uses, kNone));
  }
}

void GlobalUsesC(benchmark::State& state) {
  const GlObjectId controller = Controller();
  for (auto _ : state) {
    grx_find* uses = nullptr;
    size_t count = 0;
    benchmark::DoNotOptimize(grx_FindGlobalVar_2(controller, "Speed", 0, &uses, &count, kNone));
    grx_free_finds(uses, count);
  }
}

BENCHMARK(TypeQueryCpp)->Repetitions(9);
BENCHMARK(TypeQueryC)->Repetitions(9);
BENCHMARK(RootChartsCpp)->Repetitions(9);
BENCHMARK(RootChartsC)->Repetitions(9);
BENCHMARK(GlobalUsesCpp)->Repetitions(9);
BENCHMARK(GlobalUsesC)->Repetitions(9);

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  out << "\nC function / C++ export, medians of nine interleaved runs (goal: at most 1.1):\n";
  for (const char* name : {"TypeQuery", "RootCharts", "GlobalUses"}) {
    const double cpp = reporter.Time(std::string(name) + "Cpp");
    const double c = reporter.Time(std::string(name) + "C");
    if (cpp > 0) out << "  " << name << ": " << c / cpp << "  (" << (c - cpp) << " ns added per call)\n";
  }
}

} // namespace

int main(int argc, char** argv) {
  return RunInterleavedBenchmarksAndPrintRatios(argc, argv, PrintRatios);
}
