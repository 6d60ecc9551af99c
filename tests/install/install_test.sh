#!/usr/bin/env bash
# The installed tree as a host developer meets it:
#
#   tests/install/install_test.sh BUILD_DIR linux|windows
#
# installs the build to a temporary prefix and checks, against that tree only, that the files
# are where the package says, that every public header compiles alone with -pedantic (and the C
# interface's header as C11), that
# find_package(w5lhlpax) works with and without the stand-ins and refuses another major version,
# that w5lhlpax.pc links a host, and that the example host (examples/host) builds and prints
# what tests/install/example_host.expected holds. The Windows build is checked with mingw-w64
# and the example host run under wine (WINEPREFIX as scripts/windows.sh sets it).
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
platform=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
  echo "install_test: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

# The files of the package, by component.
if [ "$platform" = windows ]; then
  cxx=x86_64-w64-mingw32-g++-posix
  cc=x86_64-w64-mingw32-gcc-posix
  toolchain=(-DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64.cmake")
  expected=(bin/w5lhlpax.dll bin/libgrx_os.dll lib/libw5lhlpax.dll.a lib/w5lhlpax.def bin/grx.exe
            bin/Q3JDBMOX.dll lib/libQ3JDBMOX.dll.a bin/ES_LOG.dll bin/w5toolax.dll bin/w5wtrcax.dll bin/w5kwcmpx.dll
            bin/FXBViewer.exe bin/registry.ini)
else
  cxx=g++
  cc=gcc
  toolchain=()
  expected=(lib/libw5lhlpax.so.1.0.0 lib/libw5lhlpax.so.1 lib/libw5lhlpax.so lib/w5lhlpax.so
            lib/w5lhlpax/libgrx_os.so bin/grx lib/w5lhlpax/Q3JDBMOX.so lib/w5lhlpax/ES_LOG.so
            lib/w5lhlpax/w5toolax.so lib/w5lhlpax/w5wtrcax.so lib/w5lhlpax/w5kwcmpx.so lib/w5lhlpax/FXBViewer
            lib/w5lhlpax/registry.ini)
fi
expected+=(lib/cmake/w5lhlpax/w5lhlpaxConfig.cmake lib/cmake/w5lhlpax/w5lhlpaxConfigVersion.cmake
           lib/cmake/w5lhlpax/w5lhlpaxTargets.cmake lib/cmake/w5lhlpax/w5lhlpaxStandinsTargets.cmake
           lib/pkgconfig/w5lhlpax.pc share/man/man1/grx.1 share/bash-completion/completions/grx
           share/doc/grx/hosting.md share/doc/grx/examples/demo.json share/doc/grx/examples/host/main.cpp)
for file in "${expected[@]}"; do
  [ -e "$prefix/$file" ] || fail "$file is not installed"
done
# The library carries its version: in its SONAME here, in its version resource on Windows.
if [ "$platform" = linux ]; then
  soname=$(readelf -d "$prefix/lib/libw5lhlpax.so.1.0.0" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
  [ "$soname" = libw5lhlpax.so.1 ] || fail "the library's SONAME is '$soname'"
fi

# Every public header compiles alone.
headers=$(cd "$prefix/include/w5lhlpax" && find . -name '*.h' | sed 's|^\./||' | sort)
[ -n "$headers" ] || fail "no headers installed"
for header in $headers; do
  printf '#include "%s"\n' "$header" |
    "$cxx" -std=c++20 -Wall -Wextra -Werror -pedantic -fsyntax-only -I"$prefix/include/w5lhlpax" -x c++ - ||
    fail "the installed header $header does not compile alone"
done
# The C interface's header is a C header too.
printf '#include "grx/w5lhlpax_c.h"\nint main(void) { return grx_last_error() == 0; }\n' |
  "$cc" -std=c11 -Wall -Wextra -Werror -pedantic -fsyntax-only -I"$prefix/include/w5lhlpax" -x c - ||
  fail "the installed header grx/w5lhlpax_c.h does not compile as C11"
for header in $(cd "$source_dir/include" && find . -name '*.h' -o -name '*.def' | sed 's|^\./||'); do
  [ -e "$prefix/include/w5lhlpax/$header" ] || fail "the public header $header is not installed"
done

# The CMake package without the stand-ins (a host with the real chart database, whose own
# libraries it links against), and a major version it cannot be.
mkdir -p "$work/bare" "$work/consumer"
cmake --install "$build" --prefix "$work/bare" --component library >/dev/null
cmake --install "$build" --prefix "$work/bare" --component development >/dev/null
[ ! -e "$work/bare/lib/cmake/w5lhlpax/w5lhlpaxStandinsTargets.cmake" ] || fail "the stand-ins came with the library"
cat >"$work/consumer/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.20)
project(consumer LANGUAGES CXX)
find_package(w5lhlpax ${WANTED} CONFIG REQUIRED COMPONENTS ${COMPONENTS})
file(WRITE ${CMAKE_BINARY_DIR}/found.txt "${w5lhlpax_VERSION} standins=${w5lhlpax_standins_FOUND}")
add_executable(consumer consumer.cpp)
target_link_libraries(consumer PRIVATE w5lhlpax::w5lhlpax)
EOF
cat >"$work/consumer/consumer.cpp" <<'EOF'
#include <cstdio>
#include "grx/w5lhlpax.h"
int main() {
  std::int32_t position = 0;
  const Syntax_Err_TypeEnum rule = W5GRX_CheckBlockName("Drive__1", position);
  std::printf("%d %d\n", static_cast<int>(rule), static_cast<int>(position));
  return rule == SYNTAX_ERR_DOUBLE_UNDERSCORE ? 0 : 1;
}
EOF
# Where CMake finds the package: on the prefix path; a cross build searches its target's root
# only, so there the package folder is named.
package() {
  if [ "$platform" = windows ]; then
    echo "-Dw5lhlpax_DIR=$1/lib/cmake/w5lhlpax"
  else
    echo "-DCMAKE_PREFIX_PATH=$1"
  fi
}
configure() { # prefix build-folder version components...
  local at=$1 folder=$2 wanted=$3
  shift 3
  cmake -S "$work/consumer" -B "$work/$folder" -G Ninja "${toolchain[@]}" "$(package "$at")" \
    -DWANTED="$wanted" -DCOMPONENTS="$*" >"$work/$folder.log" 2>&1
}
configure "$work/bare" bare-build 1.0 || { cat "$work/bare-build.log"; fail "find_package(w5lhlpax 1.0) failed"; }
grep -q "^1.0.0 standins=FALSE" "$work/bare-build/found.txt" || fail "found: $(cat "$work/bare-build/found.txt")"
! configure "$work/bare" bare-standins 1.0 standins || fail "the component standins was found where it is not installed"
! configure "$prefix" newer 2.0 || fail "find_package(w5lhlpax 2.0) accepted version 1"
configure "$prefix" full 1.0 standins || { cat "$work/full.log"; fail "find_package(w5lhlpax COMPONENTS standins) failed"; }
grep -q "^1.0.0 standins=TRUE" "$work/full/found.txt" || fail "found: $(cat "$work/full/found.txt")"

run() { # program arguments...: runs a program of the host, under wine for Windows
  if [ "$platform" = windows ]; then
    local wine
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    WINEPATH="Z:$prefix/bin" "$wine" "$@" | tr -d '\r'
  else
    "$@"
  fi
}

# pkg-config links a host too (Linux: the build machine's compiler and pkg-config).
if [ "$platform" = linux ]; then
  export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
  [ "$(pkg-config --modversion w5lhlpax)" = 1.0.0 ] || fail "w5lhlpax.pc says version $(pkg-config --modversion w5lhlpax)"
  # shellcheck disable=SC2046
  g++ -std=c++20 -Wall -Wextra -Werror "$work/consumer/consumer.cpp" -o "$work/pc-host" $(pkg-config --cflags --libs w5lhlpax) ||
    fail "a host does not build with pkg-config's flags"
  [ "$(LD_LIBRARY_PATH="$prefix/lib" "$work/pc-host")" = "2 6" ] || fail "the pkg-config host answered wrongly"
fi

# The example host, built against the installed tree and run on the demo project.
cmake -S "$source_dir/examples/host" -B "$work/host" -G Ninja "${toolchain[@]}" "$(package "$prefix")" \
  >"$work/host.log" 2>&1 || { cat "$work/host.log"; fail "the example host does not configure"; }
cmake --build "$work/host" >>"$work/host.log" 2>&1 || { cat "$work/host.log"; fail "the example host does not build"; }
host=$work/host/example_host
[ "$platform" = linux ] || host=$work/host/example_host.exe
demo=$prefix/share/doc/grx/examples/demo.json
[ "$platform" = linux ] || demo=Z:$demo
(cd "$work/host" && run "$host" "$demo") >"$work/host.out" ||
  { cat "$work/host.out"; fail "the example host failed"; }
diff -u "$source_dir/tests/install/example_host.expected" "$work/host.out" || fail "the example host answered differently"
echo "install_test: $platform tree installed; files, headers, CMake package, pkg-config (Linux) and example host checked"
