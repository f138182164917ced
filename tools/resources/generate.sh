#!/usr/bin/env bash
# Makes every generated resource again: the bitmaps and the desktop icons (drawn
# with Qt from the DejaVu fonts) and the move sounds (synthesised). Outputs go to
# resources/.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build/resource-tools"
cmake -S "$root/tools/resources" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 >/dev/null
mkdir -p "$root/resources/bitmaps" "$root/resources/sounds" "$root/resources/desktop/icons"
QT_QPA_PLATFORM=offscreen "$build/draw-bitmaps" "$root/resources/bitmaps"
QT_QPA_PLATFORM=offscreen "$build/draw-icons" "$root/resources/desktop/icons"
python3 "$root/tools/resources/make_sounds.py" "$root/resources/sounds"
echo "resources written to $root/resources"
