#!/usr/bin/env bash
# Frame offsets between the two views (bench_sync): after slider moves, jumps, swaps and
# resumes, and through plain playback of a long pair; first as the machine is, then with two
# busy processes beside it. The long pair is made once in BUILD_DIR/bench-pair (a few minutes
# of ffmpeg the first time).
#
#   bench/sync.sh [BUILD_DIR] [MINUTES]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
minutes=${2:-5}
cmake --build "$build" --target bench_sync >/dev/null

for busy in 0 2; do
  echo "== $busy busy processes"
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_sync" --pair "$build/bench-pair" \
    --minutes "$minutes" --busy "$busy" 2>/dev/null
  echo
done
