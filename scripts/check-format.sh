#!/usr/bin/env bash
# Fails when a C or C++ source of the project differs from what .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
find include src standins tools tests bench examples -type f \( -name '*.cpp' -o -name '*.c' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
