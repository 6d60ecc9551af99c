#!/usr/bin/env bash
# Cross-builds everything for 64-bit Windows with mingw-w64 (build-win/: w5lhlpax.dll, every
# stand-in as a DLL, grx.exe) and runs under wine the Windows tests (the platform layer, the
# chart-database stand-in, the exports and the object model) and grx demo, on a virtual display
# (Xvfb) when there is none; then installs the build, builds the example host against the
# installed tree and runs it under wine, and makes and checks the release archive. A host written in
# C calls the library through its C interface under wine too. Exits non-zero, saying why, when mingw-w64, wine or Xvfb is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  echo "windows.sh: mingw-w64 is missing (Debian package g++-mingw-w64-x86-64; ./scripts/install-deps.sh installs it)" >&2
  exit 1
fi
wine=$(command -v wine64 || true)
[ -n "$wine" ] || [ ! -x /usr/lib/wine/wine64 ] || wine=/usr/lib/wine/wine64
if [ -z "$wine" ]; then
  echo "windows.sh: wine is missing (Debian package wine64; ./scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
  # The tests open windows of the system (the help viewer's): one virtual display for the run.
  if ! command -v xvfb-run >/dev/null; then
    echo "windows.sh: xvfb-run is missing (Debian package xvfb; ./scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi
./scripts/fetch-sqlite.sh
# grx's man page and completion come from the command table; the Linux build's grx writes them.
docs_grx=()
[ ! -x build/bin/grx ] || docs_grx=(-DGRX_DOCS_GRX="$PWD/build/bin/grx")
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGRX_BUILD_BENCHMARKS=OFF "${docs_grx[@]}" >/dev/null
cmake --build build-win -j "$(nproc)"
# A wine prefix of the build's own, made on first use.
export WINEPREFIX="$PWD/build-win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A wine server left from an earlier run still serves that run's display: end it first.
server="$(dirname "$(readlink -f "$wine")")/wineserver"
[ ! -x "$server" ] || "$server" -k 2>/dev/null || true
for test in build-win/bin/*_tests.exe; do
  echo "== $test (wine)"
  (cd build-win/bin && "$wine" "$(basename "$test")")
done
echo "== c_interface_test.exe (wine)"
demo="Z:$PWD/examples/demo.json"
(cd build-win/bin && "$wine" c_interface_test.exe "$demo")
echo "== grx.exe demo (wine)"
(cd build-win/bin && "$wine" grx.exe demo >../grx-demo.txt) || { cat build-win/grx-demo.txt; exit 1; }
grep -q "imported into memory and exported again: identical" build-win/grx-demo.txt
echo "grx demo: toured ($(grep -c '^== ' build-win/grx-demo.txt) sections)"
echo "== installed tree and example host (wine)"
tests/install/install_test.sh build-win windows
echo "== release archive"
tests/install/package_test.sh build-win windows
