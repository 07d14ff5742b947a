#!/usr/bin/env bash
# Playback figures on the sample card: the time from a double click to both players
# playing, the CPU the window uses while a pair plays, and its peak memory; first in the
# benchmark program, then for the real program `vexlo --play` as a user starts it.
# Runs on a virtual display. Build first (./test.sh or cmake --build build).
#
#   bench/playback.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
card=$build/sample-card
cmake --build "$build" --target bench_playback_start vexlo sample_card >/dev/null

echo "== benchmark program (10 openings, then 10 s of a pair playing)"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/bench_playback_start" "$card" 10 2>/dev/null

echo "== vexlo --play $card (front 1280x720, rear 640x360)"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$1/src/app/vexlo" --play "$2" >/dev/null 2>&1 &
  app=$!
  ticks=$(getconf CLK_TCK)
  cpu() { awk "{ print \$14 + \$15 }" "/proc/$app/stat"; }
  sleep 4
  before=$(cpu)
  sleep 10
  after=$(cpu)
  echo "CPU while both play: $(( (after - before) * 100 / ticks / 10 )) % of one core (10 s)"
  echo "peak memory: $(awk "/VmHWM/ { printf \"%.1f MiB\", \$2 / 1024 }" "/proc/$app/status")"
  kill "$app"
  wait "$app" || true
' playback-bench "$build" "$card"
