#!/usr/bin/env bash
# Checks the move generator against the published deep perft figures with the
# release tool, and prints the time and leaves per second of each. Minutes of
# work: run by hand, not in CI.
#
#   scripts/perft-deep.sh [TOOL]      TOOL defaults to build/release/bin/tallowmere
set -euo pipefail
cd "$(dirname "$0")/.."
tool="${1:-build/release/bin/tallowmere}"
if [ ! -x "$tool" ]; then
  echo "perft-deep: no tool at $tool (make release builds it)" >&2
  exit 2
fi

start="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
kiwipete="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
endgame="8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"
promotions="r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"
tricky="rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8"

# name|fen|depth|leaves
cases=(
  "start|$start|6|119060324"
  "kiwipete|$kiwipete|5|193690690"
  "endgame|$endgame|6|11030083"
  "promotions|$promotions|5|15833292"
  "tricky|$tricky|5|89941194"
)

failed=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name fen depth expected <<<"$entry"
  begin=$(date +%s.%N)
  leaves=$(nice -n 10 "$tool" perft "$depth" "$fen" | tail -n 1)
  end=$(date +%s.%N)
  seconds=$(awk -v b="$begin" -v e="$end" 'BEGIN { print e - b }')
  rate=$(awk -v n="$leaves" -v s="$seconds" 'BEGIN { print (s > 0 ? n / s / 1e6 : 0) }')
  verdict="ok"
  if [ "$leaves" != "$expected" ]; then
    verdict="WRONG (expected $expected)"
    failed=1
  fi
  printf '%-11s depth %s  %12s leaves  %7.2f s  %6.2f M leaves/s  %s\n' \
    "$name" "$depth" "$leaves" "$seconds" "$rate" "$verdict"
done
exit $failed
