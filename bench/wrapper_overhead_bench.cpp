// What a wrapper adds to an API call once its function is bound and both trace channels are
// off: two flag tests and the indirect call. Measured against calling the bound entry point
// directly (the baseline), on a trivial function (gl_ErrorIdGet) and on a real query.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

#include "chartdb_client.h"
#include "dbaccess/chartdb_functions.h"
#include "ratio_reporter.h"
#include "platform/process.h"

namespace {

using grx::dbclient::ChartDbClient;

void Prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  grx::platform::RemoveEnvironmentValue("ES_LOG_FILE"); // the logging library then switches both channels off
  ChartDbClient::Instance().Import(R"({"controllers": [{"name": "R", "charts": [{"name": "C"}]}]})", ":memory:");
  GlObjectType type = 0;
  iec_ObjectTypeGet(ChartDbClient::Instance().Resolve("R/C"), type, kNoTransaction); // binds, traces once
  gl_ErrorIdGet(0);
}

void ErrorIdDirect(benchmark::State& state) {
  Prepare();
  auto direct = ChartDbClient::Instance().gl_ErrorIdGet;
  GlResult r = 0x24;
  for (auto _ : state) benchmark::DoNotOptimize(direct(r++));
}

void ErrorIdWrapped(benchmark::State& state) {
  Prepare();
  GlResult r = 0x24;
  for (auto _ : state) benchmark::DoNotOptimize(gl_ErrorIdGet(r++));
}

void ObjectTypeDirect(benchmark::State& state) {
  Prepare();
  auto& db = ChartDbClient::Instance();
  const GlObjectId chart = db.Resolve("R/C");
  GlObjectType type = 0;
  for (auto _ : state) benchmark::DoNotOptimize(db.iec_ObjectTypeGet(chart, type, kNoTransaction));
}

void ObjectTypeWrapped(benchmark::State& state) {
  Prepare();
  const GlObjectId chart = ChartDbClient::Instance().Resolve("R/C");
  GlObjectType type = 0;
  for (auto _ : state) benchmark::DoNotOptimize(iec_ObjectTypeGet(chart, type, kNoTransaction));
}

BENCHMARK(ErrorIdDirect);
BENCHMARK(ErrorIdWrapped);
BENCHMARK(ObjectTypeDirect);
BENCHMARK(ObjectTypeWrapped);

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  out << "\nwrapped / direct call, both trace channels off:\n";
  for (const char* name : {"ErrorId", "ObjectType"}) {
    const double direct = reporter.Time(std::string(name) + "Direct");
    const double wrapped = reporter.Time(std::string(name) + "Wrapped");
    if (direct > 0) {
      out << "  " << name << ": " << wrapped / direct << "  (" << (wrapped - direct) << " ns added per call)\n";
    }
  }
}

} // namespace

int main(int argc, char** argv) {
  return RunBenchmarksAndPrintRatios(argc, argv, PrintRatios);
}
