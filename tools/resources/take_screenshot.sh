#!/usr/bin/env bash
# Makes resources/desktop/screenshot.png, the AppStream metadata's screenshot, again: the
# program installed from BUILD_DIR (default build/release) into a scratch folder, started on
# a virtual display with a game after its opening, and its window grabbed.
# Needs the extras of scripts/install-deps.sh (Xvfb, xdotool, ImageMagick).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$root/build/release}" && pwd)"
display=:97
scratch=$(mktemp -d /tmp/tallowmere-screenshot-XXXXXX)
pids=()
# The records of a real install from this build are kept aside and come back at the end.
mkdir -p "$scratch/records"
cp -p "$build"/install_manifest.txt "$build"/install_record.txt "$scratch/records/" 2> /dev/null || true
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    bash "$root/scripts/install.sh" uninstall "$build" > /dev/null || true
    cp -p "$scratch/records"/* "$build/" 2> /dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

DESTDIR="$scratch/stage" bash "$root/scripts/install.sh" install "$build" /usr > /dev/null
mkdir -p "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cat > "$scratch/home/game.pgn" << 'EOF'
[Event "Casual game"]
[Site "Tallowmere"]
[Date "2026.12.09"]
[Round "-"]
[White "Player"]
[Black "Tarnwick"]
[Result "*"]

1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3 O-O *
EOF

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
sleep 2
DISPLAY="$display" XDG_RUNTIME_DIR="$scratch/runtime" TALLOWMERE_ROOT="$scratch/home" \
    "$scratch/stage/usr/bin/tallowmere-chess" --scale 3 "$scratch/home/game.pgn" > /dev/null 2>&1 &
pids+=($!)
window=""
for _ in $(seq 60); do
    sleep 1
    # The program's top-level window, not Qt's 1 x 1 helper window of the same name.
    for id in $(DISPLAY="$display" xdotool search --name "^Tallowmere Chess$" 2> /dev/null); do
        if DISPLAY="$display" xdotool getwindowgeometry "$id" | grep -q 'Geometry: 720x'; then
            window=$id
        fi
    done
    [ -z "$window" ] || break
done
[ -n "$window" ] || { echo "the program's window did not appear" >&2; exit 1; }
sleep 2 # the first frames
DISPLAY="$display" import -window "$window" "$root/resources/desktop/screenshot.png"
echo "written: $root/resources/desktop/screenshot.png"
