#!/usr/bin/env bash
# Builds grx (installing missing Debian packages first) and runs `grx demo`.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target grx q3jdbmox w5lhlpax
exec ./build/bin/grx demo "$@"
