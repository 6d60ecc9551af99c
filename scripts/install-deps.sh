#!/usr/bin/env bash
# Installs the Debian packages the build needs, when run as root and they are missing.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libsqlite3-dev sqlite3 nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libgraphviz-dev dpkg-dev clang-format clang-14 libclang-rt-14-dev
          g++-mingw-w64-x86-64 wine64 xvfb xauth chromium nodejs
          python3 python3-venv python3-pip python3-setuptools python3-wheel python3-pytest)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
