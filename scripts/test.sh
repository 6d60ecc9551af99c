#!/usr/bin/env bash
# Builds everything twice (a normal build and one with the address and undefined-behaviour
# sanitizers) and runs every test in both, after checking the sources' formatting (the normal
# build's tests include installing it, building the example host against the installed tree and
# making the release archives); then runs the threads test in a thread-sanitizer build, the fuzz
# targets for a bounded time, and cross-builds for Windows to run the Windows tests, the example
# host and the archive check under wine. Installs missing Debian packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)
./scripts/check-format.sh
./scripts/check-seams.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRX_SANITIZE=ON -DGRX_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" ctest --test-dir build-asan --output-on-failure -j "$jobs"

./scripts/tsan.sh

./scripts/fuzz.sh 30

./scripts/windows.sh
