#!/bin/bash
# Self-play, training and quantisation of Tarnwick's network, end to end and resumable:
# each shard of games is written under a .part name and kept only when complete (an
# interrupted shard is played again), the trainer parses each shard once (a .npz beside it)
# and resumes from its checkpoint. Run it again with more SHARDS or EPOCHS to go further.
#
#   tarnwick/tools/train_nnue.sh            # defaults below, output in tarnwick/nnue-data
#   SHARDS=40 EPOCHS=30 tarnwick/tools/train_nnue.sh
#   EVAL_FILE=tarnwick/net/Tarnwick.nnue INIT=tarnwick/net/Tarnwick.nnue FIRST_SEED=301 \
#     tarnwick/tools/train_nnue.sh  # games played by the network, training starting from it
#
# One core only, at the lowest priority: the machine is shared.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$root/build/release}
DATA=${DATA:-$root/tarnwick/nnue-data}
SHARDS=${SHARDS:-20}
GAMES=${GAMES:-2000}
NODES=${NODES:-3000}
FIRST_SEED=${FIRST_SEED:-101}
EPOCHS=${EPOCHS:-30}
WDL=${WDL:-0.0}
PYTHON=${PYTHON:-/usr/bin/python3} # Debian's, with python3-torch
OUT=${OUT:-$DATA/Tarnwick.nnue}
EVAL_FILE=${EVAL_FILE:-} # the games' evaluation: a network file, or the hand-made one
INIT=${INIT:-}           # a network to start training from
RATE=${RATE:-0.01}

mkdir -p "$DATA"
datagen=$BUILD/bin/tarnwick-datagen
[ -x "$datagen" ] || { echo "build tarnwick-datagen first: $datagen" >&2; exit 1; }

for ((i = 0; i < SHARDS; ++i)); do
  seed=$((FIRST_SEED + i))
  shard=$DATA/shard-$seed.txt
  [ -f "$shard" ] && continue
  rm -f "$shard.part"
  echo "shard $seed: $GAMES games at $NODES nodes a move" >&2
  nice -n 19 "$datagen" --games "$GAMES" --nodes "$NODES" --seed "$seed" \
    ${EVAL_FILE:+--eval-file "$EVAL_FILE"} --out "$shard.part"
  mv "$shard.part" "$shard"
done

shards=("$DATA"/shard-*.txt)
OMP_NUM_THREADS=1 nice -n 19 "$PYTHON" "$root/tarnwick/tools/nnue_train.py" "${shards[@]}" \
  --out "$OUT" --checkpoint "$DATA/checkpoint.pt" --epochs "$EPOCHS" --wdl "$WDL" --threads 1 \
  --rate "$RATE" ${INIT:+--init "$INIT"}
