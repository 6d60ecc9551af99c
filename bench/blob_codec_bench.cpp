// Writing and reading a blob record (encoding and decoding included) against the bare
// iec_BlobWrite and iec_BlobLengthGet/iec_BlobRead calls of the same bytes, for a resource record
// with 20 packages and for a block-type record. The target is a ratio of at most 2.
#include <benchmark/benchmark.h>

#include <iostream>

#include "blob/blob_block_type.h"
#include "blob/blob_resource.h"
#include "chartdb_client.h"
#include "platform/process.h"
#include "ratio_reporter.h"

namespace {

using grx::dbclient::ChartDbClient;

GlObjectId Prepare(const char* path) {
  static bool done = false;
  if (!done) {
    done = true;
    grx::platform::RemoveEnvironmentValue("ES_LOG_FILE");
    ChartDbClient::Instance().Import(R"({"controllers": [{"name": "R",
      "blockTypes": [{"name": "T", "kind": "function", "parameters": [{"name": "IN"}]}]}]})",
                                     ":memory:");
  }
  return ChartDbClient::Instance().Resolve(path);
}

CBlobResource Packages() {
  CBlobResource record(0, kNoTransaction);
  const GUID g{0x6A3D2F10, 0x4B7C, 0x4E21, {0x9F, 0x3A, 0x1C, 0x5D, 0x7E, 0x9B, 0x2A, 0x40}};
  for (int i = 0; i < 20; ++i) {
    record.AddLibElement("TechnologyPackage" + std::to_string(i), "V4." + std::to_string(i), 7, g, g, i % 2 == 0,
                         {g, g});
  }
  record.SetVersion("V7.1");
  return record;
}

CBlobBlockType BlockType() {
  CBlobBlockType record(0, kNoTransaction);
  record.SetBlockCat(BLKCAT_LIB);
  record.SetLibrary("MotionControlLibrary");
  record.SetMajor(BlobVariant::Int32(4));
  record.SetMinor(BlobVariant::Int32(2));
  return record;
}

template <class Record>
void RecordRoundTrip(benchmark::State& state, Record record, const char* path) {
  const GlObjectId id = Prepare(path);
  for (auto _ : state) {
    record.Write(id, kNoTransaction);
    Record back(id, kNoTransaction);
    benchmark::DoNotOptimize(back.IsEmpty());
  }
}

template <class Record>
void BareRoundTrip(benchmark::State& state, Record record, const char* path) {
  const GlObjectId id = Prepare(path);
  auto& db = ChartDbClient::Instance();
  const std::vector<std::uint8_t> bytes = record.Encode(id);
  std::vector<std::uint8_t> buffer(bytes.size());
  for (auto _ : state) {
    db.iec_BlobWrite(id, static_cast<std::uint32_t>(bytes.size()), bytes.data(), kNoTransaction);
    std::uint32_t length = 0, actual = 0;
    db.iec_BlobLengthGet(id, length, kNoTransaction);
    db.iec_BlobRead(id, length, actual, buffer.data(), kNoTransaction);
    benchmark::DoNotOptimize(buffer.data());
  }
}

void ResourceBare(benchmark::State& state) {
  BareRoundTrip(state, Packages(), "R");
}
void ResourceRecord(benchmark::State& state) {
  RecordRoundTrip(state, Packages(), "R");
}
void BlockTypeBare(benchmark::State& state) {
  BareRoundTrip(state, BlockType(), "R/%T");
}
void BlockTypeRecord(benchmark::State& state) {
  RecordRoundTrip(state, BlockType(), "R/%T");
}

// Decoding a map of state.range(0) text entries (the keys distinct, as records have them).
void DecodeMap(benchmark::State& state) {
  CBlobMap map;
  for (std::int64_t i = 0; i < state.range(0); ++i) map.SetAt<BLOB_ATTR_TEXT>("key" + std::to_string(i), "value");
  const std::vector<std::uint8_t> bytes = map.Encode(1);
  for (auto _ : state) {
    CBlobMap decoded;
    benchmark::DoNotOptimize(decoded.Decode(bytes));
  }
}
BENCHMARK(DecodeMap)->Arg(100)->Arg(1000)->Arg(10000);

BENCHMARK(ResourceBare);
BENCHMARK(ResourceRecord);
BENCHMARK(BlockTypeBare);
BENCHMARK(BlockTypeRecord);

} // namespace

int main(int argc, char** argv) {
  return RunBenchmarksAndPrintRatios(argc, argv, [](const RatioReporter& r, std::ostream& out) {
    out << "\nrecord write + read against the bare blob calls of the same bytes (target: at most 2x)\n";
    out << "  resource with 20 packages: " << r.Time("ResourceRecord") / r.Time("ResourceBare") << "x\n";
    out << "  block type:                " << r.Time("BlockTypeRecord") / r.Time("BlockTypeBare") << "x\n";
    out << "decoding a map, growth per ten times the entries (target: at most 11)\n";
    for (const auto& [small, large] :
         {std::pair{"DecodeMap/100", "DecodeMap/1000"}, {"DecodeMap/1000", "DecodeMap/10000"}}) {
      const double growth = r.Time(large) / r.Time(small);
      out << "  " << small << " -> " << large << ": " << growth << (growth <= 11 ? "  (ok)" : "  (TOO SLOW)") << "\n";
    }
  });
}
