#!/usr/bin/env bash
# The same POT (or GPX) file converted through the main window (gui_bench,
# offscreen) and by velorin-cli convert --force, best of a few runs each.
# Neither writes a log, since the shipped velorin.ini switches it off for
# the window.
#
# Usage: bench/gui/run_gui_bench.sh BUILD_DIR [POINTS] [pot|gpx]
# Builds nothing: BUILD_DIR/bin/gui_bench must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [POINTS] [pot|gpx]}
lines=${2:-1000000}
format=${3:-pot}
bin=$build_dir/bin
gui=$bin/gui_bench
cli=$bin/velorin-cli
[[ -x $gui ]] || { echo "no $gui: build the gui_bench target first" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=3

pot=$work/points.$format
python3 "$here/../gen_$format.py" "$lines" "$pot"
echo "input: $lines points ($format), $(awk -v b="$(stat -c %s "$pot")" 'BEGIN { printf "%.1f", b / 1e6 }') MB"

gui_line=$(QT_QPA_PLATFORM=offscreen "$gui" "$pot" "$runs")
echo "$gui_line"
gui_s=$(sed -n 's/^window convert: \([0-9.]*\) s.*/\1/p' <<<"$gui_line")

if [[ ! -x $cli ]]; then
  echo "velorin-cli: not built, no comparison"
  exit 0
fi
now_ns() { date +%s%N; }
best=
for ((i = 0; i < runs; i++)); do
  rm -f "$work/cli.nvi"
  start=$(now_ns)
  "$cli" convert --force "$pot" "$work/cli.nvi" >/dev/null 2>&1
  end=$(now_ns)
  took=$((end - start))
  if [[ -z $best || $took -lt $best ]]; then best=$took; fi
done
cli_s=$(awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }')
echo "velorin-cli convert --force: $cli_s s (best of $runs, whole process)"
awk -v g="$gui_s" -v c="$cli_s" 'BEGIN { printf "window / cli: %.2f\n", g / c }'
