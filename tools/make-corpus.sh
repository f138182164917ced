#!/usr/bin/env bash
# Makes corpus/games.pgn, a large PGN file to measure reading and indexing on:
# COUNT (default 100000) random legal games with tags, clock and text comments,
# glyphs and variations, written by the program's own PGN writer. The corpus is
# not part of the repository (corpus/ is ignored).
#
#   tools/make-corpus.sh [COUNT [SEED]]
#   BUILD=build/other tools/make-corpus.sh      # build the tool elsewhere
set -euo pipefail

count=${1:-100000}
seed=${2:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build/corpus}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWMERE_GUI=OFF \
    -DTALLOWMERE_TESTS=OFF > /dev/null
cmake --build "$build" --target tallowmere -j 2
mkdir -p "$root/corpus"
"$build/bin/tallowmere" pgn generate "$count" "$seed" > "$root/corpus/games.pgn.part"
mv "$root/corpus/games.pgn.part" "$root/corpus/games.pgn"
echo "$root/corpus/games.pgn: $count games, $(wc -c < "$root/corpus/games.pgn") bytes"
