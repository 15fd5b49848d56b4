#!/usr/bin/env bash
# Speed and memory of velorin-cli reading CSV: N rows (default 1,000,000;
# bench/gen_csv.py) of three kinds: ASCII titles with one Japanese title in
# the last row (the encoding is decided there), Japanese titles from the
# first row, and the first kind separated by ";" with decimal commas. For
# each, the CSV reader alone (BUILD_DIR/bin/csv_reader_pass, nothing
# written) and velorin-cli's CSV -> NVI: best wall and processor (user +
# system) times and peak memory.
#
# Usage: bench/run_csv_bench.sh BUILD_DIR [ROWS]
# Builds nothing: BUILD_DIR/bin/velorin-cli and BUILD_DIR/bin/csv_reader_pass
# must exist (use a Release build). RUNS (default 5) sets how many runs the
# best is taken of. OTHER=DIR names a second build (an older one) whose two
# programs run alternately with the first over the same files, so that a
# busy moment of the machine hits both.
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [ROWS]}
count=${2:-1000000}
other=${OTHER:-}
for dir in "$build_dir" $other; do
  for program in velorin-cli csv_reader_pass; do
    [[ -x $dir/bin/$program ]] || { echo "no $dir/bin/$program: build it first" >&2; exit 1; }
  done
done
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-5}
stamp='--timestamp=2010/04/01 14:30:00'

# One run under GNU time: "wall processor peak" (seconds, seconds of user
# and system time, KiB); the output is removed before. A refused input
# (an older build) is timed all the same.
timed() {
  rm -f "$work/out.nvi"
  /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$@" >/dev/null 2>&1 || true
  tail -n 1 "$work/time" | awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }'
}

smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }

# One row per program and build: best wall and processor times, peak MiB.
measure() {
  local kind=$1 input=$2
  local -a dirs=("$build_dir")
  [[ -n $other ]] && dirs+=("$other")
  declare -A wall cpu peak
  for ((i = 0; i < runs; i++)); do
    for dir in "${dirs[@]}"; do
      local w c m
      read -r w c m < <(timed "$dir/bin/csv_reader_pass" "$input")
      wall[pass$dir]=$(smaller "$w" "${wall[pass$dir]:-}")
      cpu[pass$dir]=$(smaller "$c" "${cpu[pass$dir]:-}")
      ((m > ${peak[pass$dir]:-0})) && peak[pass$dir]=$m
      read -r w c m < <(timed "$dir/bin/velorin-cli" convert --force "$stamp" "$input" \
        "$work/out.nvi")
      wall[run$dir]=$(smaller "$w" "${wall[run$dir]:-}")
      cpu[run$dir]=$(smaller "$c" "${cpu[run$dir]:-}")
      ((m > ${peak[run$dir]:-0})) && peak[run$dir]=$m
    done
  done
  for what in pass run; do
    for dir in "${dirs[@]}"; do
      local label="$kind, $([[ $what == pass ]] && echo "reader alone" || echo "CSV -> NVI")"
      [[ $dir == "$other" ]] && label="$label (other)"
      printf '%-36s %9s %7s %11s %9s\n' "$label" "$(mb "$input")" "${wall[$what$dir]}" \
        "${cpu[$what$dir]}" "$(awk -v k="${peak[$what$dir]}" 'BEGIN { printf "%.1f", k / 1024 }')"
    done
  done
}

printf '%-36s %9s %7s %11s %9s\n' "$count rows" "input MB" "wall s" "processor s" "peak MiB"
for kind in ascii japanese semicolon; do
  python3 "$here/gen_csv.py" "$count" "$work/$kind.csv" "$kind"
  measure "$kind" "$work/$kind.csv"
done
echo "seconds: best of $runs runs; processor: user + system time, steadier than wall time"
echo "while other programs run"
