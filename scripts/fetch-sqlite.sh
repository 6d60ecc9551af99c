#!/usr/bin/env bash
# The SQLite amalgamation for the Windows build (Debian's mingw-w64 has no SQLite): taken from the
# npm package better-sqlite3 12.11.1, which ships it, checked by hash, into deps/sqlite3/. Never
# committed (deps/ is ignored).
set -euo pipefail
cd "$(dirname "$0")/.."
version=12.11.1
hash=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
if [ -f deps/sqlite3/sqlite3.c ] && [ -f deps/sqlite3/.source ] && [ "$(cat deps/sqlite3/.source)" = "$hash" ]; then
  exit 0
fi
mkdir -p deps/sqlite3
archive=deps/better-sqlite3-${version}.tgz
if [ ! -f "$archive" ] || ! echo "$hash  $archive" | sha256sum -c --status; then
  curl -sSfL -o "$archive" "https://registry.npmjs.org/better-sqlite3/-/better-sqlite3-${version}.tgz"
fi
if ! echo "$hash  $archive" | sha256sum -c --status; then
  echo "fetch-sqlite.sh: $archive does not have the expected hash $hash" >&2
  rm -f "$archive"
  exit 1
fi
tar -xzf "$archive" -C deps/sqlite3 --strip-components=3 package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
echo "$hash" > deps/sqlite3/.source
