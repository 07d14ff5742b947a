#!/usr/bin/env bash
# Resident memory of the whole program over 100 openings of the sample card's recordings,
# then the CPU it uses while a pair plays and while it stands paused (bench_openings), on a
# virtual display. Build first (./test.sh or cmake --build build).
#
#   bench/openings.sh [BUILD_DIR] [OPENINGS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
openings=${2:-100}
cmake --build "$build" --target bench_openings sample_card >/dev/null
xvfb-run -a -s "-screen 0 1280x800x24" "$build/bench/bench_openings" "$build/sample-card" \
  "$openings" 2>/dev/null
