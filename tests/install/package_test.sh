#!/usr/bin/env bash
# The release archives:
#
#   tests/install/package_test.sh BUILD_DIR linux|windows
#
# makes them with cpack (Linux: grx-VERSION-Linux.tar.gz and the Debian package; Windows:
# grx-VERSION-win64.zip), lists each and checks that every public header, the library, the
# package files, the man page and the bash completion are in it, and that the Debian package
# names the shared libraries it needs.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
platform=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")/\1/p' "$build/CPackConfig.cmake")

fail() {
  echo "package_test: $*" >&2
  exit 1
}

(cd "$build" && cpack -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }

# What every archive holds, below its top folder (archives) or /usr (the Debian package).
wanted=()
while IFS= read -r header; do wanted+=("include/w5lhlpax/$header"); done < <(cd "$source_dir/include" && find . -type f | sed 's|^\./||')
wanted+=(lib/cmake/w5lhlpax/w5lhlpaxConfig.cmake lib/cmake/w5lhlpax/w5lhlpaxConfigVersion.cmake
         lib/cmake/w5lhlpax/w5lhlpaxTargets.cmake lib/cmake/w5lhlpax/w5lhlpaxStandinsTargets.cmake
         lib/pkgconfig/w5lhlpax.pc share/man/man1/grx.1 share/bash-completion/completions/grx
         share/doc/grx/hosting.md share/doc/grx/examples/host/CMakeLists.txt)
if [ "$platform" = windows ]; then
  wanted+=(bin/w5lhlpax.dll lib/libw5lhlpax.dll.a lib/w5lhlpax.def bin/libgrx_os.dll bin/grx.exe bin/Q3JDBMOX.dll
           bin/registry.ini)
  archives=("grx-$version-win64.zip")
else
  wanted+=(lib/libw5lhlpax.so.$version lib/libw5lhlpax.so.${version%%.*} lib/libw5lhlpax.so lib/w5lhlpax.so
           lib/w5lhlpax/libgrx_os.so bin/grx lib/w5lhlpax/Q3JDBMOX.so lib/w5lhlpax/registry.ini)
  archives=("grx-$version-Linux.tar.gz" "$(cd "$work/out" && ls grx_"$version"_*.deb 2>/dev/null | head -1)")
fi

for archive in "${archives[@]}"; do
  [ -n "$archive" ] && [ -f "$work/out/$archive" ] || fail "cpack made no ${archive:-Debian package} (made: $(ls "$work/out"))"
  case $archive in
    *.deb) dpkg-deb -c "$work/out/$archive" | awk '{print $6}' | sed 's|^\./usr/||' >"$work/list" ;;
    *) cmake -E tar tf "$work/out/$archive" | sed 's|^[^/]*/||' >"$work/list" ;;
  esac
  for file in "${wanted[@]}"; do
    grep -qxF "$file" "$work/list" || fail "$archive lacks $file"
  done
  echo "package_test: $archive holds the ${#wanted[@]} files checked ($(wc -l <"$work/list") entries)"
done

if [ "$platform" = linux ]; then
  deb=$work/out/${archives[1]}
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the Debian package's version is $(dpkg-deb -f "$deb" Version)"
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libc6 libstdc++6 libsqlite3-0 libpugixml1v5; do
    [[ $depends == *"$library"* ]] || fail "the Debian package does not depend on $library (Depends: $depends)"
  done
  echo "package_test: Depends: $depends"
fi
