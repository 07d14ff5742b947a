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
