#!/usr/bin/env bash
# Speed and memory of `velorin-cli map` against `velorin-cli convert` of the
# same file into NVI: N waypoints (default 1,000,000; bench/gen_gpx.py) as
# GPX. Prints each command's best wall and processor (user + system) times
# of RUNS (default 3; the two alternate, so that a busy moment of the
# machine hits both), their ratios (the goal: map within 2x of convert),
# each one's peak memory and the size of the picture.
#
# Usage: bench/run_map_bench.sh BUILD_DIR [WAYPOINTS]
# Builds nothing: BUILD_DIR/bin/velorin-cli must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [WAYPOINTS]}
count=${2:-1000000}
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build the velorin-cli target first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-3}

python3 "$here/gen_gpx.py" "$count" "$work/points.gpx" >/dev/null

# Best wall seconds and peak kilobytes of a command over the runs, as
# "SECONDS KILOBYTES" in the named variable.
best_map=999999 best_convert=999999 cpu_map=999999 cpu_convert=999999 peak_map=0 peak_convert=0
run_once() {
  local output=$1
  shift
  rm -f "$output"
  /usr/bin/time -f "%e %M %U %S" -o "$work/time" "$cli" "$@" 2>/dev/null || true
  cat "$work/time"
}
for ((i = 0; i < runs; i++)); do
  read -r seconds kilobytes user system < <(run_once "$work/out.nvi" convert --force "$work/points.gpx" "$work/out.nvi")
  best_convert=$(python3 -c "print(min($best_convert, $seconds))")
  cpu_convert=$(python3 -c "print(min($cpu_convert, $user + $system))")
  peak_convert=$((kilobytes > peak_convert ? kilobytes : peak_convert))
  read -r seconds kilobytes user system < <(run_once "$work/map.svg" map "$work/points.gpx" "$work/map.svg")
  best_map=$(python3 -c "print(min($best_map, $seconds))")
  cpu_map=$(python3 -c "print(min($cpu_map, $user + $system))")
  peak_map=$((kilobytes > peak_map ? kilobytes : peak_map))
done

echo "velorin-cli map vs convert to NVI, $count GPX waypoints, best of $runs:"
printf "  convert: %6.2f s wall, %6.2f s processor, peak %6d KiB\n" "$best_convert" "$cpu_convert" "$peak_convert"
printf "  map:     %6.2f s wall, %6.2f s processor, peak %6d KiB, picture %d bytes\n" "$best_map" \
  "$cpu_map" "$peak_map" "$(stat -c %s "$work/map.svg")"
python3 -c "print(f'  map / convert: {$best_map / max($best_convert, 0.01):.2f} wall, {$cpu_map / max($cpu_convert, 0.01):.2f} processor (goal: at most 2)')"
