#!/usr/bin/env bash
# Installs what is missing, builds Vexlo with its sample card (real recordings) and
# lists its recordings with vexlo-tool.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

cmake --preset default
cmake --build --preset default

# The build makes the sample card (target sample_card, with vexlo-make-sample-card).
card=build/sample-card
cmake --build --preset default --target sample_card

echo "Recordings on $card:"
build/src/cli/vexlo-tool scan "$card"

# sed, not head: it reads to the end, so no writer dies of a closed pipe under pipefail.
first=$(build/src/cli/vexlo-tool scan "$card" | sed -n 1p | cut -f 8)
echo "Drive data of $first (first rows):"
build/src/cli/vexlo-tool extract "$first" | sed -n 1,6p

# The window, playing the card's first recording. Without a display it runs on a virtual
# one for a few seconds and leaves a screenshot of it in the build tree.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/vexlo --play "$card"
fi
screenshot=$PWD/build/vexlo-screenshot.png
rm -f "$screenshot"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  build/src/app/vexlo --play "$1" >build/vexlo-run.log 2>&1 &
  app=$!
  sleep 8
  ffmpeg -loglevel error -y -f x11grab -video_size 1280x800 -i "$DISPLAY" -frames:v 1 "$2"
  kill "$app"
  wait "$app" || true
' run-vexlo "$card" "$screenshot"
echo "Screenshot of the window after a few seconds of playback: $screenshot"
