#!/usr/bin/env bash
# Starts the program from a build folder; until the window exists, the command-line tool.
set -euo pipefail
build=${1:-build/release}
shift || true
if [ -x "$build/bin/tallowmere-chess" ]; then
  exec "$build/bin/tallowmere-chess" "$@"
fi
exec "$build/bin/tallowmere" --help
