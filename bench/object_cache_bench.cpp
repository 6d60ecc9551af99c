// The object manager's cache: FindIecObject for an object it holds already (target: at most 50 ns),
// and for one it does not (the cache emptied first), against the chart-database calls such a miss
// makes (counted once and printed with --calls; the baseline makes the same calls directly).
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>

#include "chartdb_client.h"
#include "opendata/iec_obj_manager.h"
#include "platform/process.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;

GlObjectId Block() {
  static GlObjectId block = [] {
    grx::platform::RemoveEnvironmentValue("ES_LOG_FILE"); // both trace channels off
    ChartDbClient& db = ChartDbClient::Instance();
    db.Import(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "T", "parameters": [{"name": "I", "type": "BOOL"}]}],
      "charts": [{"name": "C", "blocks": [{"name": "B", "type": "T"}]}]}]})",
              ":memory:");
    return db.Resolve("R/C/B");
  }();
  return block;
}

void Hit(benchmark::State& state) {
  const OpenData::CIecObjId id(Block());
  OpenData::CIecObjManager* manager = OpenData::CIecObjManager::GetInstance();
  manager->FindIecObject(id);
  for (auto _ : state) benchmark::DoNotOptimize(manager->FindIecObject(id, IEC_OBJ_FUNCTION_BLOCK));
}

void Miss(benchmark::State& state) {
  const OpenData::CIecObjId id(Block());
  for (auto _ : state) {
    OpenData::CIecObjManager::DeleteInstance();
    benchmark::DoNotOptimize(OpenData::CIecObjManager::GetInstance()->FindIecObject(id));
  }
}

// What a miss asks the chart database, made directly; the emptied manager's cost is part of Miss.
void MissCalls(benchmark::State& state) {
  const GlObjectId id = Block();
  ChartDbClient& db = ChartDbClient::Instance();
  for (auto _ : state) {
    OpenData::CIecObjManager::DeleteInstance();
    GlObjectType type = 0; // a miss asks for the object's type twice (see --calls)
    benchmark::DoNotOptimize(db.iec_ObjectTypeGet(id, type, kNoTransaction));
    benchmark::DoNotOptimize(db.iec_ObjectTypeGet(id, type, kNoTransaction));
  }
}

BENCHMARK(Hit);
BENCHMARK(Miss);
BENCHMARK(MissCalls);

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  const double hit = reporter.Time("Hit"), miss = reporter.Time("Miss"), calls = reporter.Time("MissCalls");
  out << "\nFindIecObject: hit " << hit << " ns" << (hit <= 50 ? " (ok, <= 50 ns)" : " (TOO SLOW, > 50 ns)");
  if (calls > 0) out << "; miss / its chart-database calls " << miss / calls;
  out << "\n";
}

// The chart-database calls of one miss.
void PrintMissCalls(std::ostream& out) {
  static const char* const kFunctions[] = {
#define GRX_API(kind, result, name, ...) #name,
#include "chartdb/q3jdbmox_functions.def"
  };
  const OpenData::CIecObjId id(Block());
  ChartDbClient& db = ChartDbClient::Instance();
  OpenData::CIecObjManager::DeleteInstance();
  db.ResetCallCounts();
  OpenData::CIecObjManager::GetInstance()->FindIecObject(id);
  out << "a miss calls:";
  for (const char* f : kFunctions) {
    if (const auto n = db.CallCount(f); n > 0 && std::strcmp(f, "gl_ErrorIdGet") != 0) out << " " << f << " " << n;
  }
  out << "\n";
}

} // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--calls") {
    PrintMissCalls(std::cout);
    return 0;
  }
  return RunBenchmarksAndPrintRatios(argc, argv, PrintRatios);
}
