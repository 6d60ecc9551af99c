// Import and export of generated projects of about 10^3, 10^4 and 10^5 objects as PLCopen TC6 XML,
// beside the JSON description of the same project. It prints XML / JSON at each size (target at
// most 1.5), the growth of the XML import and export per ten times the size (target at most 11),
// and the peak memory of an XML export and an XML import of the largest project, each run alone
// in a process of its own (target under 200 MB), beside the JSON ones. Every job is run three times
// after one run to warm the caches, and the medians are compared (a job of the largest size runs
// once per repetition).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "chartdb_client.h"
#include "generated_projects.h"
#include "plcopen.h"
#include "platform/process.h"
#include "project_generator.h"
#include "ratio_reporter.h"

namespace {

namespace fs = std::filesystem;
using grx::dbclient::ChartDbClient;
constexpr auto& kSizes = kScalingSizes; // root charts: about 10^3, 10^4 and 10^5 objects
constexpr auto Shape = ScalingShape;

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() /
         ("grx-interchange-bench-" + std::to_string(grx::platform::CurrentProcessId()) + "-" + name);
}

std::string XmlOf(const std::string& description) {
  std::ostringstream xml;
  grx::plcopen::WriteProject(nlohmann::json::parse(description), xml);
  return xml.str();
}

// One project in its three forms: the project file, its JSON description and its TC6 file.
struct Sample {
  std::string db;
  std::string json;
  std::string xml;
};

Sample& SampleOf(int charts) {
  static std::map<int, Sample> samples;
  auto it = samples.find(charts);
  if (it == samples.end()) {
    ChartDbClient& db = ChartDbClient::Instance();
    Sample sample;
    sample.db = TempFile(std::to_string(charts) + ".db").string();
    fs::remove(sample.db);
    db.Import(grx::cli::GeneratedDescription(Shape(charts)), sample.db);
    db.Open(sample.db);
    sample.json = db.Export();
    sample.xml = XmlOf(sample.json);
    it = samples.emplace(charts, std::move(sample)).first;
  }
  return it->second;
}

void ExportJson(benchmark::State& state) {
  ChartDbClient& db = ChartDbClient::Instance();
  db.Open(SampleOf(static_cast<int>(state.range(0))).db);
  benchmark::DoNotOptimize(db.Export()); // warm: every job starts from the same caches
  for (auto _ : state) benchmark::DoNotOptimize(db.Export());
}

void ExportXml(benchmark::State& state) {
  ChartDbClient& db = ChartDbClient::Instance();
  db.Open(SampleOf(static_cast<int>(state.range(0))).db);
  benchmark::DoNotOptimize(XmlOf(db.Export()));
  for (auto _ : state) benchmark::DoNotOptimize(XmlOf(db.Export()));
}

void ImportJson(benchmark::State& state) {
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  const std::string target = TempFile("import.db").string();
  ChartDbClient& db = ChartDbClient::Instance();
  db.CloseProject();
  db.Import(sample.json, target);
  for (auto _ : state) {
    fs::remove(target);
    db.Import(sample.json, target);
  }
  fs::remove(target);
}

void ImportXml(benchmark::State& state) {
  const Sample& sample = SampleOf(static_cast<int>(state.range(0)));
  const std::string target = TempFile("import.db").string();
  ChartDbClient& db = ChartDbClient::Instance();
  db.CloseProject();
  const auto import = [&] {
    fs::remove(target);
    const std::string description = grx::plcopen::ReadProject(sample.xml, "bench.xml").description.dump();
    db.Import(description, target);
  };
  import();
  for (auto _ : state) import();
  fs::remove(target);
}

// Each size three times, the medians reported.
void EverySize(benchmark::internal::Benchmark* b) {
  for (int size : kSizes) b->Arg(size);
  b->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}

BENCHMARK(ExportJson)->Apply(EverySize);
BENCHMARK(ExportXml)->Apply(EverySize);
BENCHMARK(ImportJson)->Apply(EverySize);
BENCHMARK(ImportXml)->Apply(EverySize);

// The peak resident memory of one job run alone: this program started again with --peak.
double PeakMegabytes(const std::string& job, const std::string& input) {
  const auto run = grx::platform::RunProgram(grx::platform::ExecutableFile(), {"--peak", job, input}, false);
  return run.exitCode == 0 ? std::stod(run.output) / 1e6 : -1.0;
}

// --peak JOB INPUT: export-json|export-xml PROJECT, import-json|import-xml FILE; prints the peak.
int RunPeak(const std::string& job, const std::string& input) {
  ChartDbClient& db = ChartDbClient::Instance();
  if (job == "export-json" || job == "export-xml") {
    db.Open(input);
    std::ofstream out(TempFile("peak.out"), std::ios::binary);
    if (job == "export-json") {
      out << db.Export();
    } else {
      grx::plcopen::WriteProject(nlohmann::json::parse(db.Export()), out);
    }
  } else {
    std::ifstream in(input, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string target = TempFile("peak.db").string();
    fs::remove(target);
    // As grx imports: the description made of the file is text before the chart database reads it.
    std::string description = text.str();
    if (job == "import-xml") description = grx::plcopen::ReadProject(std::move(description), input).description.dump();
    text = std::ostringstream();
    db.Import(description, target);
    fs::remove(target);
  }
  fs::remove(TempFile("peak.out"));
  std::cout << grx::platform::PeakResidentBytes() << "\n";
  return 0;
}

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  out << "\nXML / JSON at each size (target <= 1.5):\n";
  for (const char* job : {"Export", "Import"}) {
    out << "  " << job;
    for (int size : kSizes) {
      const double xml = reporter.Time(std::string(job) + "Xml/" + std::to_string(size));
      const double json = reporter.Time(std::string(job) + "Json/" + std::to_string(size));
      out << "  " << grx::cli::GeneratedObjectCount(Shape(size)) << " objects " << xml / json
          << (xml / json <= 1.5 ? " ok" : " SLOW");
    }
    out << "\n";
  }
  out << "growth of the XML jobs per ten times the size (target <= 11):\n";
  for (const char* job : {"ExportXml", "ImportXml"}) {
    out << "  " << job;
    for (std::size_t i = 1; i < std::size(kSizes); ++i) {
      const double growth = reporter.Time(job + ("/" + std::to_string(kSizes[i]))) /
                            reporter.Time(job + ("/" + std::to_string(kSizes[i - 1])));
      out << "  " << growth << (growth <= 11 ? " ok" : " NOT LINEAR");
    }
    out << "\n";
  }
  // The largest project's files for the jobs run alone.
  const Sample& largest = SampleOf(kSizes[2]);
  const std::string json = TempFile("largest.json").string(), xml = TempFile("largest.xml").string();
  std::ofstream(json, std::ios::binary) << largest.json;
  std::ofstream(xml, std::ios::binary) << largest.xml;
  ChartDbClient::Instance().CloseProject();
  out << "peak memory at " << grx::cli::GeneratedObjectCount(Shape(kSizes[2])) << " objects (target < 200 MB):\n";
  for (const auto& [job, input] : std::vector<std::pair<std::string, std::string>>{
           {"export-xml", largest.db}, {"export-json", largest.db}, {"import-xml", xml}, {"import-json", json}}) {
    const double mb = PeakMegabytes(job, input);
    out << "  " << job << " " << mb << " MB"
        << (job.find("xml") == std::string::npos ? ""
            : mb < 200                           ? " ok"
                                                 : " TOO MUCH")
        << "\n";
  }
  fs::remove(json);
  fs::remove(xml);
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--peak") return RunPeak(argv[2], argv[3]);
  const int exitCode = RunBenchmarksAndPrintRatios(argc, argv, PrintRatios);
  ChartDbClient::Instance().CloseProject();
  for (int size : kSizes) fs::remove(SampleOf(size).db);
  return exitCode;
}
