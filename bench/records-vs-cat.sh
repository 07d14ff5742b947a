#!/usr/bin/env bash
# Times "vexlo-tool records FILE.drv --out CSV" on a drive-record log of 1,000,000 records
# (40 MB of random records) against "cat CSV > /dev/null" of the CSV it wrote, alternating the
# two, and reports the medians, the CSV throughput (by the clock and by CPU time) and the
# peak memory for the whole log and for a tenth of it (memory must not grow with the file).
#   bench/records-vs-cat.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-7}
tool="$build/src/cli/vexlo-tool"
[ -x "$tool" ] || { echo "no $tool: build first" >&2; exit 2; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Header: the count 1000000 little-endian, then 8 bytes we do not interpret.
make_log() { # RECORDS FILE
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) \
    $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))" > "$2"
  head -c 8 /dev/zero >> "$2"
  head -c $(($1 * 40)) /dev/urandom >> "$2"
}
make_log 1000000 "$dir/big.drv"
make_log 100000 "$dir/small.drv"

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

"$tool" records "$dir/big.drv" --out "$dir/big.csv"
cat "$dir/big.csv" > /dev/null
records_times=() stdout_times=() cat_times=()
for _ in $(seq "$runs"); do
  t0=$(now); "$tool" records "$dir/big.drv" --out "$dir/big.csv"; t1=$(now)
  cat "$dir/big.csv" > /dev/null; t2=$(now)
  "$tool" records "$dir/big.drv" > /dev/null; t3=$(now)
  records_times+=($(( (t1 - t0) / 1000 ))); cat_times+=($(( (t2 - t1) / 1000 )))
  stdout_times+=($(( (t3 - t2) / 1000 )))
done
records_us=$(printf '%s\n' "${records_times[@]}" | median)
stdout_us=$(printf '%s\n' "${stdout_times[@]}" | median)
cat_us=$(printf '%s\n' "${cat_times[@]}" | median)
csv_bytes=$(stat -c %s "$dir/big.csv")
peak_big=$(/usr/bin/time -f '%M' "$tool" records "$dir/big.drv" 2>&1 >/dev/null | tail -n 1)
# CPU time too: on a machine shared with other work the wall time says more about the load.
cpu_s=$(/usr/bin/time -f '%U %S' "$tool" records "$dir/big.drv" --out "$dir/big.csv" 2>&1 |
  tail -n 1 | awk '{print $1 + $2}')
peak_small=$(/usr/bin/time -f '%M' "$tool" records "$dir/small.drv" 2>&1 >/dev/null | tail -n 1)

printf 'log:                          %.0f MB, %d records\n' \
  "$(echo "$(stat -c %s "$dir/big.drv") / 1000000" | bc -l)" "$(( $(wc -l < "$dir/big.csv") - 1 ))"
printf 'CSV written:                  %.1f MB\n' "$(echo "$csv_bytes / 1000000" | bc -l)"
printf 'records --out median:         %.1f ms (%.0f MB of CSV per second)\n' \
  "$(echo "$records_us / 1000" | bc -l)" "$(echo "$csv_bytes / $records_us" | bc -l)"
printf 'records > /dev/null median:   %.1f ms (%.0f MB of CSV per second)\n' \
  "$(echo "$stdout_us / 1000" | bc -l)" "$(echo "$csv_bytes / $stdout_us" | bc -l)"
printf 'records --out CPU time:       %.2f s (%.0f MB of CSV per CPU second)\n' "$cpu_s" \
  "$(echo "$csv_bytes / 1000000 / $cpu_s" | bc -l)"
printf 'cat CSV median:               %.1f ms\n' "$(echo "$cat_us / 1000" | bc -l)"
printf 'ratio records --out / cat:    %.1f\n' "$(echo "$records_us / $cat_us" | bc -l)"
printf 'peak memory, 1,000,000 rec.:  %.1f MB\n' "$(echo "$peak_big / 1024" | bc -l)"
printf 'peak memory, 100,000 rec.:    %.1f MB\n' "$(echo "$peak_small / 1024" | bc -l)"
