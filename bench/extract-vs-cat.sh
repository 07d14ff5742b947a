#!/usr/bin/env bash
# Times "vexlo-tool extract FILE > /dev/null" against "cat FILE > /dev/null" on a 10-minute
# recording with 6000 records spread through about 1 GB (file in the page cache), alternating
# the two, and reports the medians, their ratio and the extraction's peak memory.
#   bench/extract-vs-cat.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-9}
tool="$build/src/cli/vexlo-tool"
maker="$build/tools/samplecard/vexlo-make-sample-card"
for program in "$tool" "$maker"; do
  [ -x "$program" ] || { echo "no $program: build first" >&2; exit 2; }
done

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
file="$dir/alwa_20230415_003012_F.MP4"
"$maker" --long-recording "$file" --minutes 10 --mb 1000 --seed 1 > /dev/null

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

cat "$file" > /dev/null; cat "$file" > /dev/null # into the page cache
"$tool" extract "$file" > /dev/null
extract_times=() cat_times=()
for _ in $(seq "$runs"); do
  t0=$(now); "$tool" extract "$file" > /dev/null; t1=$(now)
  cat "$file" > /dev/null; t2=$(now)
  extract_times+=($(( (t1 - t0) / 1000 ))); cat_times+=($(( (t2 - t1) / 1000 )))
done
extract_us=$(printf '%s\n' "${extract_times[@]}" | median)
cat_us=$(printf '%s\n' "${cat_times[@]}" | median)
peak_kb=$(/usr/bin/time -f '%M' "$tool" extract "$file" 2>&1 >/dev/null | tail -n 1)
rows=$("$tool" extract "$file" | tail -n +2 | wc -l)

printf 'file size:                 %.0f MB\n' "$(echo "$(stat -c %s "$file") / 1000000" | bc -l)"
printf 'records (CSV rows):        %d\n' "$rows"
printf 'vexlo-tool extract median: %.1f ms\n' "$(echo "$extract_us / 1000" | bc -l)"
printf 'cat median:                %.1f ms\n' "$(echo "$cat_us / 1000" | bc -l)"
printf 'ratio extract / cat:       %.3f\n' "$(echo "$extract_us / $cat_us" | bc -l)"
printf 'extract peak memory:       %.1f MB\n' "$(echo "$peak_kb / 1024" | bc -l)"
