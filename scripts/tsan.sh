#!/usr/bin/env bash
# Builds the library, the stand-ins and the threads test with the thread sanitizer (build-tsan/)
# and runs the test: eight threads calling an export of every family against one project. A data
# race the sanitizer sees fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
# Line tables are enough for the sanitizer's reports, and keep this build quick.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DGRX_SANITIZE=thread \
  -DGRX_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-tsan -j "$(nproc)" --target threads_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" build-tsan/bin/threads_tests
