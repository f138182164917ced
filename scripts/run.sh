#!/usr/bin/env bash
# Starts the program from a build folder (build/release unless given); any further
# arguments go to the program (tallowmere-chess --help lists them).
set -euo pipefail
build=${1:-build/release}
shift || true
program="$build/bin/tallowmere-chess"
if [ ! -x "$program" ]; then
  echo "run.sh: $program is missing; build it with 'make release'" >&2
  exit 1
fi
asks_help=false
for argument in "$@"; do
  case "$argument" in --help | -h) asks_help=true ;; esac
done
if ! $asks_help && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] &&
  [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
  exit 1
fi
exec "$program" "$@"
