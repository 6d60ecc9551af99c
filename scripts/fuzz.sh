#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time (seconds, default 60) over its
# seed corpus; a crash, leak or undefined behaviour it finds fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S tests/fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
corpus=$(mktemp -d)
catalogues=$(mktemp -d)
texts=$(mktemp -d)
projects=$(mktemp -d)
trap 'rm -rf "$corpus" "$catalogues" "$texts" "$projects"' EXIT
cp tests/fuzz/corpus/blob_map/* "$corpus"/
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-fuzz/blob_map_fuzzer -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
  "$corpus" tests/fuzz/corpus/blob_map

cp tests/fuzz/corpus/catalogue/* "$catalogues"/
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-fuzz/catalogue_fuzzer -max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1 \
  -dict=tests/fuzz/catalogue.dict "$catalogues" tests/fuzz/corpus/catalogue

cp tests/fuzz/corpus/printf_fill/* "$texts"/
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-fuzz/printf_fill_fuzzer -max_total_time="$seconds" -max_len=1024 -timeout=10 -print_final_stats=1 \
  "$texts" tests/fuzz/corpus/printf_fill

cp tests/fuzz/corpus/plcopen/* "$projects"/
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-fuzz/plcopen_fuzzer -max_total_time="$seconds" -max_len=65536 -timeout=10 -print_final_stats=1 \
  -dict=tests/fuzz/plcopen.dict "$projects" tests/fuzz/corpus/plcopen
