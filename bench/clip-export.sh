#!/usr/bin/env bash
# Times "vexlo-tool clip" on a 60 s side-by-side span of the sample card (two consecutive
# 30 s recordings of each camera, so the join is in it), with the drive data burned in, in the
# fast preset; reports the median wall time as a multiple of real time, and the CPU it took
# (user + system over wall: 2.0 means both cores of a 2-core machine all along).
#   bench/clip-export.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-3}
tool="$build/src/cli/vexlo-tool"
card="$build/sample-card"
[ -x "$tool" ] || { echo "no $tool: build first" >&2; exit 2; }
[ -d "$card/DCIM/ALWA" ] || { echo "no $card: build the target sample_card" >&2; exit 2; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
span=60
walls=() cpus=() cpusecs=()
for run in $(seq "$runs"); do
  out="$dir/clip$run.mp4"
  /usr/bin/time -f '%e %U %S' -o "$dir/time" \
    "$tool" clip "$card/DCIM/ALWA/alwa_20230415_093012_F.MP4" --from 0 --to "$span" \
    --layout sbs --overlay --quality fast -o "$out" > /dev/null 2> "$dir/err"
  read -r wall user sys < "$dir/time"
  walls+=("$wall")
  cpus+=("$(echo "($user + $sys) / $wall" | bc -l)")
  cpusecs+=("$(echo "$user + $sys" | bc -l)")
done
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
wall=$(printf '%s\n' "${walls[@]}" | median)
cpu=$(printf '%s\n' "${cpus[@]}" | median)
cpusec=$(printf '%s\n' "${cpusecs[@]}" | median)

printf 'span:                    %d s, side by side, overlay, fast\n' "$span"
printf 'picture:                 %s\n' "$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0:s=x "$dir/clip1.mp4")"
printf 'clip size:               %.1f MB\n' "$(echo "$(stat -c %s "$dir/clip1.mp4") / 1000000" | bc -l)"
printf 'median wall time:        %.1f s\n' "$wall"
printf 'speed:                   %.2fx real time\n' "$(echo "$span / $wall" | bc -l)"
printf 'CPU (user+sys)/wall:     %.2f cores of %d\n' "$cpu" "$(nproc)"
# What the machine's other work took shows in the CPU share; the CPU time itself does not
# depend on it: at full use of every core the clip would take this long.
printf 'CPU time:                %.1f s, %.2fx real time on %d free cores\n' "$cpusec" \
  "$(echo "$span * $(nproc) / $cpusec" | bc -l)" "$(nproc)"
printf 'load average before end: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
