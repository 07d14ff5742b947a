#!/usr/bin/env bash
# Installs what is missing, builds Vexlo, makes a small card folder in the build tree and
# lists its recordings with vexlo-tool.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

cmake --preset default
cmake --build --preset default

card=build/sample-card
rm -rf "$card"
mkdir -p "$card/DCIM/ALWA" "$card/DCIM/EVENT" "$card/DCIM/MOTION"
for name in ALWA/alwa_20230415_093012_F ALWA/alwa_20230415_093012_R \
            ALWA/alwa_20230415_093112_F ALWA/alwa_20230415_093112_R \
            EVENT/event_20230415_093050_F EVENT/event_20230415_093050_R \
            MOTION/motion_20230415_101500_R MOTION/motion_20230415_102000_F; do
  : > "$card/DCIM/$name.MP4"
done

echo "Recordings on $card:"
build/src/cli/vexlo-tool scan "$card"
