#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer,
# the libraries instrumented too) and runs each one for a short time on its seed corpus,
# fuzz/corpus/<target>. Exits non-zero when a target crashes, leaks or hangs.
#   FUZZ_SECONDS   seconds per target (default 30)
#   FUZZ_BUILD_DIR build folder (default build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
sanitizers="-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVEXLO_FUZZ=ON \
  -DVEXLO_BUILD_TESTS=OFF -DVEXLO_BUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
# Only the fuzzers and what they link, not the whole program.
cmake --build "$build" --target fuzz/all

work="$build/fuzz-run"
rm -rf "$work"
status=0
for fuzzer in "$build"/fuzz/fuzz_*; do
  [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
  name="$(basename "$fuzzer")"
  # Findings and new inputs go to a scratch copy; the committed seeds stay as they are.
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -r "fuzz/corpus/$name/." "$work/$name/corpus/"
  fi
  echo "run-fuzzers: $name for ${seconds}s"
  if ! "$fuzzer" "$work/$name/corpus" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$work/$name/artifacts/" >"$work/$name/log.txt" 2>&1; then
    echo "run-fuzzers: $name FAILED; the input is in $work/$name/artifacts/" >&2
    tail -n 40 "$work/$name/log.txt" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/$name/log.txt" || true
  fi
done
exit "$status"
