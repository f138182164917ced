#!/usr/bin/env bash
# The install as a packager makes it: the build installed with `make install`'s script into a
# scratch DESTDIR, the installed programs run from there, then `make uninstall`'s script.
#
#   install_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail

source_dir=$1
build=$2
scratch=$(mktemp -d /tmp/tallowmere-install-XXXXXX)
# The records of a real install from this build are kept aside and come back at the end.
mkdir -p "$scratch/records"
cp -p "$build"/install_manifest.txt "$build"/install_record.txt "$scratch/records/" 2> /dev/null
trap 'cp -p "$scratch/records"/* "$build/" 2> /dev/null; rm -rf "$scratch"' EXIT
stage="$scratch/stage"
usr="$stage/usr"
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Every file the install puts under the prefix, and nothing else.
expected_files="bin/tallowmere
bin/tallowmere-chess
bin/tarnwick-uci
lib/tallowmere/Tarnwick.nnue
lib/tallowmere/Tarnwick.pge
lib/tallowmere/UciBridge.pge
lib/tallowmere/move1.wav
lib/tallowmere/move2.wav
lib/tallowmere/move3.wav
lib/tallowmere/move4.wav
lib/tallowmere/tarnwick-uci
share/applications/tallowmere-chess.desktop
share/icons/hicolor/128x128/apps/tallowmere-chess.png
share/icons/hicolor/16x16/apps/tallowmere-chess.png
share/icons/hicolor/22x22/apps/tallowmere-chess.png
share/icons/hicolor/24x24/apps/tallowmere-chess.png
share/icons/hicolor/256x256/apps/tallowmere-chess.png
share/icons/hicolor/32x32/apps/tallowmere-chess.png
share/icons/hicolor/48x48/apps/tallowmere-chess.png
share/icons/hicolor/512x512/apps/tallowmere-chess.png
share/icons/hicolor/64x64/apps/tallowmere-chess.png
share/icons/hicolor/scalable/apps/tallowmere-chess.svg
share/man/man6/tallowmere-chess.6
share/man/man6/tallowmere.6
share/metainfo/org.example.tallowmere_chess.metainfo.xml
share/mime/packages/tallowmere-chess.xml"

# A folder that was there before the install must survive the uninstall.
mkdir -p "$usr/bin"

if ! DESTDIR="$stage" bash "$source_dir/scripts/install.sh" install "$build" /usr > "$scratch/install.log"; then
    cat "$scratch/install.log" >&2
    echo "FAILED: the install itself" >&2
    exit 1
fi

installed=$(cd "$usr" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
if [ "$installed" != "$(LC_ALL=C sort <<< "$expected_files")" ]; then
    fail "the installed files differ from the list:"
    diff <(LC_ALL=C sort <<< "$expected_files") <(echo "$installed") >&2
fi

# tarnwick-uci finds the module beside its real path: bin/ holds a link into lib/tallowmere/.
[ "$(readlink "$usr/bin/tarnwick-uci")" = "../lib/tallowmere/tarnwick-uci" ] ||
    fail "bin/tarnwick-uci is not a link to ../lib/tallowmere/tarnwick-uci"
uci=$(printf 'uci\nisready\nquit\n' | timeout 60 "$usr/bin/tarnwick-uci" 2>&1)
grep -q '^uciok$' <<< "$uci" && grep -q '^readyok$' <<< "$uci" ||
    fail "the installed tarnwick-uci did not answer uci and isready: $uci"

perft=$(timeout 60 "$usr/bin/tallowmere" perft 3 2>&1)
[ "$(tail -n 1 <<< "$perft")" = "8902" ] || fail "the installed tallowmere perft 3 printed: $perft"

# The installed program comes up with the engine module of its installed folder (it does not
# start without one) and, on the way, removes the stale module file the folder may hold.
stale="$usr/lib/tallowmere/Tarnwick.dll"
echo "an old module" > "$stale"
mkdir -p "$scratch/root" "$scratch/runtime"
chmod 700 "$scratch/runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/runtime" TALLOWMERE_ROOT="$scratch/root" \
    TALLOWMERE_START_REPORT=quit timeout 120 "$usr/bin/tallowmere-chess" 2> "$scratch/program.log"
code=$?
[ $code -eq 0 ] || fail "the installed tallowmere-chess ended with $code: $(cat "$scratch/program.log")"
grep -q '^first frame [0-9]* ms after start' "$scratch/program.log" ||
    fail "the installed tallowmere-chess showed no first frame: $(cat "$scratch/program.log")"
[ ! -e "$stale" ] || fail "the stale module file is still in lib/tallowmere/"

# The desktop's own checkers, where they are installed.
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$usr/share/applications/tallowmere-chess.desktop" ||
        fail "desktop-file-validate refused the menu entry"
else
    echo "desktop-file-validate is not installed: the menu entry is not validated"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$usr/share/metainfo/org.example.tallowmere_chess.metainfo.xml" ||
        fail "appstreamcli refused the AppStream metadata"
else
    echo "appstreamcli is not installed: the AppStream metadata is not validated"
fi
if command -v update-mime-database > /dev/null; then
    # On a copy: the database it writes is the system's business, not the install's.
    cp -r "$usr/share/mime" "$scratch/mime"
    update-mime-database "$scratch/mime" &&
        grep -q '\*\.pgn' "$scratch/mime/globs2" ||
        fail "update-mime-database did not take *.pgn from the PGN file type"
fi

DESTDIR="$stage" bash "$source_dir/scripts/install.sh" uninstall "$build" > "$scratch/uninstall.log" ||
    fail "the uninstall itself: $(cat "$scratch/uninstall.log")"
left=$(cd "$scratch" && find stage | LC_ALL=C sort)
[ "$left" = "$(printf 'stage\nstage/usr\nstage/usr/bin')" ] ||
    fail "the uninstall left more than the folder that was there before: $left"
[ ! -e "$build/install_manifest.txt" ] && [ ! -e "$build/install_record.txt" ] ||
    fail "the uninstall kept its records, so a second one would remove again"
second=$(bash "$source_dir/scripts/install.sh" uninstall "$build") ||
    fail "a second uninstall failed: $second"

[ $failures -eq 0 ] || exit 1
echo "installed, ran and uninstalled without a trace"
