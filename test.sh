#!/usr/bin/env bash
# Installs what is missing, builds Vexlo and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

cmake --preset default -DVEXLO_WERROR=ON
cmake --build --preset default

# The fuzzers of the byte readers, briefly, on their seed corpora (a clang build of its own).
./scripts/run-fuzzers.sh

# The model tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer in a build
# of their own: no window and no libVLC, so they run in a few minutes.
cmake --preset asan -DVEXLO_WERROR=ON
cmake --build --preset asan --target test_fileio test_library test_drivedata test_settings \
  test_cardtools test_cli test_samplecard
ctest --test-dir build-asan -L model --output-on-failure --timeout 600 -j 2

# Tests with real video or the web map need a display; the rest choose the offscreen
# platform themselves. One X server serves the whole run.
export QTWEBENGINE_DISABLE_SANDBOX=1
xvfb-run -a -s "-screen 0 1920x1080x24" \
  ctest --test-dir build --output-on-failure --timeout 600 -j 2
