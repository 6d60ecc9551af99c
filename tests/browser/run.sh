#!/usr/bin/env bash
# The controller page of grx draw in Debian's chromium:
#
#   tests/browser/run.sh BUILD_DIR
#
# imports the demo, draws the page of its controller D445_AXES with the build's grx, installs
# playwright-core (package-lock.json) when it is missing and runs page_test.mjs, which leaves its
# screenshots in BUILD_DIR/browser-shots.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v node >/dev/null || { echo "run.sh: node is missing (./scripts/install-deps.sh)" >&2; exit 1; }
[ -x "${GRX_CHROMIUM:-/usr/bin/chromium}" ] || { echo "run.sh: chromium is missing (Debian package chromium)" >&2; exit 1; }
if [ ! -d "$here/node_modules/playwright-core" ]; then
  (cd "$here" && npm ci --no-audit --no-fund >/dev/null)
fi
"$build/bin/grx" import "$(cd "$here/../.." && pwd)/examples/demo.json" "$work/demo.db" >/dev/null
"$build/bin/grx" --project "$work/demo.db" draw D445_AXES -o "$work/axes.html" >/dev/null
node "$here/page_test.mjs" "$work/axes.html" "$build/browser-shots"
