#!/usr/bin/env bash
# Builds the benchmarks (in the optimised build of the README's commands, build/) and runs every
# one; each prints its figures as ratios against a baseline measured in the same run. The tables of
# Google Benchmark go to build/bench-*.txt; this prints one table of the ratios. Extra arguments go to every program
# (for example --benchmark_min_time=0.5).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target wrapper_overhead_bench object_cache_bench blob_codec_bench \
  chartdb_scaling_bench helpfuncs_scaling_bench project_check_bench interchange_bench draw_bench c_interface_bench >/dev/null
echo "grx benchmarks on $(nproc) core(s), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
for program in wrapper_overhead_bench object_cache_bench blob_codec_bench chartdb_scaling_bench \
  helpfuncs_scaling_bench project_check_bench interchange_bench draw_bench c_interface_bench; do
  log=build/bench-${program}.txt
  build/bin/${program} --benchmark_color=false "$@" >"$log" 2>&1
  echo
  echo "== ${program}"
  # The ratios follow the table, after the line "-- ratios".
  awk 'shown { print } /^-- ratios/ { shown = 1 }' "$log" | sed '/^$/d'
done
echo
echo "== python_calls (bench/python_calls.py)"
GRX_LIBRARY="$PWD/build/bin/libw5lhlpax.so.1" PYTHONPATH="$PWD/python" /usr/bin/python3 bench/python_calls.py
