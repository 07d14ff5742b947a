#!/usr/bin/env bash
# Times "vexlo-tool scan" against "find | sort" on a card of 15000 empty recordings in 30
# nested folders, alternating the two, and reports the medians, their ratio and the scan's
# peak memory.
#   bench/scan-vs-find.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-11}
tool="$build/src/cli/vexlo-tool"
[ -x "$tool" ] || { echo "no $tool: build first" >&2; exit 2; }

card=$(mktemp -d)
trap 'rm -rf "$card"' EXIT
# 30 folders nested three deep (3 x 10), 500 recordings each.
for a in 0 1 2; do
  for b in 0 1 2 3 4 5 6 7 8 9; do
    dir="$card/DCIM$a/sub$b/deep"
    mkdir -p "$dir"
    (cd "$dir" && for i in $(seq 0 499); do
      n=$((a * 5000 + b * 500 + i))
      printf -v name 'alwa_20230415_%02d%02d%02d_%s.MP4' $((n / 3600 % 24)) $((n / 60 % 60)) $((n % 60)) \
        "$([ $((n % 2)) -eq 0 ] && echo F || echo R)"
      : > "$name"
    done)
  done
done

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

scan_times=() find_times=()
"$tool" scan "$card" > /dev/null # warm the cache
for _ in $(seq "$runs"); do
  t0=$(now); "$tool" scan "$card" > /dev/null; t1=$(now)
  find "$card" -iname '*.mp4' | LC_ALL=C sort > /dev/null; t2=$(now)
  scan_times+=($(( (t1 - t0) / 1000 ))); find_times+=($(( (t2 - t1) / 1000 )))
done
scan_us=$(printf '%s\n' "${scan_times[@]}" | median)
find_us=$(printf '%s\n' "${find_times[@]}" | median)
peak_kb=$(/usr/bin/time -f '%M' "$tool" scan "$card" 2>&1 >/dev/null | tail -n 1)
lines=$("$tool" scan "$card" | wc -l)

awk -v lines="$lines" -v scan="$scan_us" -v find="$find_us" -v peak="$peak_kb" 'BEGIN {
  printf "recordings listed:      %d\n", lines
  printf "vexlo-tool scan median: %.1f ms\n", scan / 1000
  printf "find | sort median:     %.1f ms\n", find / 1000
  printf "ratio scan / find:      %.2f\n", scan / find
  printf "scan peak memory:       %.1f MB\n", peak / 1024
}'
