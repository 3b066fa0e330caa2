#!/usr/bin/env bash
# Runs the Ogg reader's fuzz target of a fuzz build (the folder test.sh makes, build-fuzz by
# default) for RUNS inputs (100000 by default), starting from a short tone of our own: random
# bytes seldom get past the first Ogg page, while the tone's mutations go through the
# stream's setup header and its audio packets. A run costs about 1 ms of one core: test.sh's
# 10000 runs take about 10 s, 100000 about 90 s. An input that fails is kept as crash-* here.
#     scripts/fuzz_ogg.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build="${1:-build-fuzz}"
runs="${2:-100000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/seeds" "$work/corpus"
sox -n -r 8000 -c 1 -b 16 "$work/tone.wav" synth 0.25 sine 440
oggenc -Q -s 1 -q -1 -o "$work/seeds/tone.ogg" "$work/tone.wav"
"$build/bin/fuzz_ogg" -runs="$runs" -seed=1 -max_len=4096 "$work/corpus" "$work/seeds"
