#!/usr/bin/env bash
# The Python package grx as a test bench takes it:
#
#   tests/python/run.sh BUILD_DIR
#
# installs the build (library, stand-ins, grx) into a temporary prefix, builds the package python/
# as a wheel, installs the wheel into a virtual environment (Debian's python3 with its pytest) and
# runs the tests of tests/python there, outside the source tree, against the installed library.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
python=${GRX_PYTHON:-/usr/bin/python3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" -c "import venv, pytest, setuptools" 2>/dev/null ||
  { echo "run.sh: $python lacks venv, pytest or setuptools (./scripts/install-deps.sh)" >&2; exit 1; }

prefix="$work/prefix"
for component in library standins grx; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
library=$(ls "$prefix"/lib*/libw5lhlpax.so.1 | head -1)

# The wheel, built from a copy so that the source tree stays clean.
cp -r "$source_dir/python" "$work/package"
"$python" -m pip wheel --quiet --no-deps --no-build-isolation --no-index -w "$work/dist" "$work/package" >/dev/null
wheel=$(ls "$work"/dist/grx-*.whl)

"$python" -m venv --system-site-packages "$work/venv"
"$work/venv/bin/python" -m pip install --quiet --no-deps --no-index "$wheel"

cd "$work"
GRX_LIBRARY="$library" GRX_BIN="$prefix/bin" GRX_SOURCE_DIR="$source_dir" \
  "$work/venv/bin/python" -m pytest -q -p no:cacheprovider "$here"
