// grx draw against listing the same chart through the library: one root chart of 50, 500 and 5000
// blocks (a chain, globals read along it). Drawing is what grx draw does for a chart (the
// project's description, the chart's objects, the Graphviz layout, the SVG); listing is the
// library's block listing with the run-sequence places (W5GRX_SearchMoveBlocks). It prints
// draw / list at each size (500 blocks: the figure to report) and the growth of drawing per ten
// times the blocks (target at most 11), beside the listing's own growth in the same run (what the
// machine's caches add to ten times the data). Medians of nine repetitions after a warm run, the
// runs of every size interleaved in random order, so that a drift of the machine's speed falls on
// all alike.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include <string>

#include "chartdb_client.h"
#include "draw/chart_drawing.h"
#include "generated_projects.h"
#include "grx/w5lhlpax.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;
constexpr int kBlocks[] = {50, 500, 5000};

grx::cli::ProjectShape OneChart(int blocks) {
  grx::cli::ProjectShape shape;
  shape.charts = 1;
  shape.depth = 0;
  shape.blocks = blocks;
  shape.globals = 2;
  return shape;
}

GeneratedProjects& Projects() {
  static GeneratedProjects projects("grx-draw-bench-", OneChart);
  return projects;
}

std::string Draw(ChartDbClient& db) {
  const nlohmann::json description = nlohmann::json::parse(db.Export());
  grx::draw::ChartDrawing drawing = grx::draw::DescribeChart(description, "GEN/C00001");
  grx::draw::LayOut(drawing);
  return grx::draw::WriteSvg(drawing);
}

void DrawChart(benchmark::State& state) {
  ChartDbClient& db = Projects().Open(static_cast<int>(state.range(0)));
  benchmark::DoNotOptimize(Draw(db));
  for (auto _ : state) benchmark::DoNotOptimize(Draw(db));
}

void ListChart(benchmark::State& state) {
  ChartDbClient& db = Projects().Open(static_cast<int>(state.range(0)));
  const GlObjectId chart = db.Resolve("GEN/C00001");
  auto list = [&] {
    std::vector<MoveBlockInfoT> blocks;
    W5GRX_SearchMoveBlocks(chart, blocks, kNoTransaction);
    return blocks.size();
  };
  benchmark::DoNotOptimize(list());
  for (auto _ : state) benchmark::DoNotOptimize(list());
}

void EverySize(benchmark::internal::Benchmark* b) {
  for (int blocks : kBlocks) b->Arg(blocks);
  b->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}

BENCHMARK(ListChart)->Apply(EverySize);
BENCHMARK(DrawChart)->Apply(EverySize);

} // namespace

int main(int argc, char** argv) {
  const int result = RunInterleavedBenchmarksAndPrintRatios(argc, argv, [](const RatioReporter& r, std::ostream& out) {
    out << "\n";
    for (int blocks : kBlocks) {
      const std::string n = std::to_string(blocks);
      out << "draw / list, " << n << " blocks: " << r.Time("DrawChart/" + n) / r.Time("ListChart/" + n) << "\n";
    }
    for (std::size_t i = 1; i < std::size(kBlocks); ++i) {
      const std::string from = std::to_string(kBlocks[i - 1]), to = std::to_string(kBlocks[i]);
      out << "draw growth " << from << " -> " << to
          << " blocks: " << r.Time("DrawChart/" + to) / r.Time("DrawChart/" + from)
          << " (target at most 11; the listing grew " << r.Time("ListChart/" + to) / r.Time("ListChart/" + from)
          << ")\n";
    }
  });
  Projects().RemoveAll();
  return result;
}
