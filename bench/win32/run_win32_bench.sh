#!/usr/bin/env bash
# The same POT (or GPX) file converted through the Win32 main window
# (win32_bench, under Wine on the display in $DISPLAY) and by
# velorin-cli.exe convert --force (under Wine, the whole process), best of a
# few runs each. Neither writes a log, since the shipped velorin.ini switches
# it off for the window.
#
# Usage: bench/win32/run_win32_bench.sh BUILD_DIR [POINTS] [pot|gpx]
# Builds nothing: BUILD_DIR/bin/win32_bench.exe must exist (the MinGW build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [POINTS] [pot|gpx]}
lines=${2:-1000000}
format=${3:-pot}
bin=$build_dir/bin
window=$bin/win32_bench.exe
cli=$bin/velorin-cli.exe
[[ -f $window && -f $cli ]] || { echo "no $window or $cli: build win32_bench and velorin-cli" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-3}

input=$work/points.$format
python3 "$here/../gen_$format.py" "$lines" "$input"
echo "input: $lines points ($format), $(awk -v b="$(stat -c %s "$input")" 'BEGIN { printf "%.1f", b / 1e6 }') MB"

window_line=$(wine "$window" "Z:$input" "$runs")
echo "$window_line"
window_s=$(sed -n 's/^window convert: \([0-9.]*\) s.*/\1/p' <<<"$window_line")

now_ns() { date +%s%N; }
best=
for ((i = 0; i < runs; i++)); do
  rm -f "$work/cli.nvi"
  start=$(now_ns)
  wine "$cli" convert --force "Z:$input" "Z:$work/cli.nvi" >/dev/null 2>&1
  end=$(now_ns)
  took=$((end - start))
  if [[ -z $best || $took -lt $best ]]; then best=$took; fi
done
cli_s=$(awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }')
echo "velorin-cli.exe convert --force: $cli_s s (best of $runs, whole process under Wine)"
awk -v w="$window_s" -v c="$cli_s" 'BEGIN { printf "window / cli: %.2f\n", w / c }'
