#!/usr/bin/env bash
# Runs a group of tests many times in a row, optionally beside busy processes, and reports
# passes and failures per test: a test that fails by chance shows up here, not in CI.
#
#   scripts/repeat-tests.sh [-n RUNS] [-b BUSY] [-d BUILD_DIR] [-p] [-x] [-t SECONDS] REGEX
#
#   REGEX  CTest test names to run (as ctest -R), e.g. 'WindowOpenPanel|MediaListViewTest'
#   -n     runs of each test (default 50)
#   -b     busy processes (`yes > /dev/null`) running beside the tests (default 0)
#   -d     build directory (default build)
#   -p     a fresh process for every run, as CTest starts them; by default each test runs
#          once with --gtest_repeat=RUNS
#   -t     time limit of one run in seconds (default 300)
#   -x     run under xvfb-run, for tests with real video or the web map
#
# Examples (from the top of the source tree, after a build):
#   scripts/repeat-tests.sh -n 50 'WindowOpenPanel|WindowPlayback|MediaListViewTest|PlaybackController'
#   scripts/repeat-tests.sh -x -n 10 -b 2 'VLCMediaPlayer|PlaybackWithLibVLC'
#
# Each test's output goes to BUILD_DIR/repeat-tests/NAME.log (NAME.RUN.log with -p); the
# exit status is 0 only when every run of every test passed.
set -euo pipefail

runs=50
busy=0
build=build
fresh=0
xvfb=0
limit=300

arguments=("$@")

usage() {
  sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
}

while getopts "n:b:d:pt:xh" option; do
  case "$option" in
  n) runs="$OPTARG" ;;
  b) busy="$OPTARG" ;;
  d) build="$OPTARG" ;;
  p) fresh=1 ;;
  t) limit="$OPTARG" ;;
  x) xvfb=1 ;;
  *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || usage
regex="$1"
for number in "$runs" "$busy" "$limit"; do
  [[ "$number" =~ ^[0-9]+$ ]] || { echo "repeat-tests: not a number: $number" >&2; exit 2; }
done
[ "$runs" -ge 1 ] || { echo "repeat-tests: -n must be at least 1" >&2; exit 2; }

for tool in ctest jq timeout; do
  command -v "$tool" >/dev/null || { echo "repeat-tests: $tool is missing (scripts/install-deps.sh)" >&2; exit 2; }
done

# One X server for the whole run, as test.sh has it.
if [ "$xvfb" -eq 1 ] && [ -z "${REPEAT_TESTS_UNDER_XVFB:-}" ]; then
  export REPEAT_TESTS_UNDER_XVFB=1
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "${arguments[@]}"
fi
export QTWEBENGINE_DISABLE_SANDBOX=1

build="$(cd "$build" && pwd)"
logs="$build/repeat-tests"
mkdir -p "$logs"

tests="$(ctest --test-dir "$build" -R "$regex" --show-only=json-v1 |
  jq -c '.tests[] | {name,
    command,
    environment: [.properties[]? | select(.name == "ENVIRONMENT") | .value[]],
    directory: ([.properties[]? | select(.name == "WORKING_DIRECTORY") | .value][0] // ".")}')"
if [ -z "$tests" ]; then
  echo "repeat-tests: no test in $build matches '$regex'" >&2
  exit 2
fi

busy_pids=()
stop_busy() {
  if [ "${#busy_pids[@]}" -gt 0 ]; then
    kill "${busy_pids[@]}" 2>/dev/null || true
    wait "${busy_pids[@]}" 2>/dev/null || true
  fi
}
trap stop_busy EXIT
for ((i = 0; i < busy; i++)); do
  yes >/dev/null &
  busy_pids+=($!)
done

echo "repeat-tests: $(wc -l <<<"$tests") tests, $runs runs each, $busy busy processes$([ "$fresh" -eq 1 ] && echo ', a process per run')"
printf '%-8s %-8s %-8s %s\n' passed failed missing test
total_failed=0
while IFS= read -r test; do
  name="$(jq -r .name <<<"$test")"
  directory="$(jq -r .directory <<<"$test")"
  mapfile -t command < <(jq -r '.command[]' <<<"$test")
  mapfile -t environment < <(jq -r '.environment[]' <<<"$test")
  log="$logs/${name//[^A-Za-z0-9_.-]/_}"
  # The test's own name as GoogleTest prints it (CTest may add a prefix such as "offscreen.").
  filter="$(printf '%s\n' "${command[@]}" | sed -n 's/^--gtest_filter=//p' | head -n1)"
  passed=0
  failed=0
  if [ "$fresh" -eq 1 ]; then
    for ((run = 1; run <= runs; run++)); do
      if (cd "$directory" && env "${environment[@]}" timeout "$limit" "${command[@]}") \
        >"$log.$run.log" 2>&1; then
        passed=$((passed + 1))
        rm -f "$log.$run.log"
      else
        failed=$((failed + 1))
      fi
    done
  else
    (cd "$directory" && env "${environment[@]}" timeout $((limit * runs)) "${command[@]}" \
      --gtest_repeat="$runs") >"$log.log" 2>&1 || true
    passed="$(grep -cF -- "[       OK ] $filter (" "$log.log" || true)"
    failed="$(grep -cF -- "[  FAILED  ] $filter (" "$log.log" || true)"
  fi
  # Runs that never reported (a crash or the time limit) count as missing.
  missing=$((runs - passed - failed))
  if [ "$failed" -gt 0 ] || [ "$missing" -gt 0 ]; then
    total_failed=$((total_failed + 1))
  fi
  printf '%-8s %-8s %-8s %s\n' "$passed" "$failed" "$missing" "$name"
done <<<"$tests"

if [ "$total_failed" -gt 0 ]; then
  echo "repeat-tests: $total_failed tests did not pass every run; logs in $logs"
  exit 1
fi
echo "repeat-tests: every run passed"
