#!/usr/bin/env bash
# The map window's edits on the same generated point file in velorin.exe
# (under Wine, win32_edit_bench, on the display in $DISPLAY) and, when a
# Linux build is named, in the Qt window (edit_bench, offscreen): a delete
# and an undo of one point and of every hundredth, each with the redraw
# after it; a rename and its undo; Ctrl+A and a find; each the best of
# ROUNDS; then every keystroke in the find box (typed, taken away, a paste
# of 100,000 characters, the box cleared), with nothing chosen and with
# every point chosen. Each figure is the wall time and the processor time.
# With "parts", the Win32 bench first times the parts of a single edit's
# answer and of the find box emptied, one at a time.
#
# Usage: bench/win32/run_win32_edit_bench.sh MINGW_BUILD [POINTS [LINUX_BUILD [ROUNDS [parts]]]]
# POT, as run_win32_map_bench.sh (Wine's XmlLite and large generated GPX).
# Builds nothing: MINGW_BUILD/bin/win32_edit_bench.exe (and
# LINUX_BUILD/bin/edit_bench) must exist.
set -euo pipefail

mingw=${1:?usage: $0 MINGW_BUILD [POINTS [LINUX_BUILD [ROUNDS [parts]]]]}
points=${2:-1000000}
linux=${3:-}
rounds=${4:-3}
parts=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
[[ -f $mingw/bin/win32_edit_bench.exe ]] || { echo "no $mingw/bin/win32_edit_bench.exe" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input=$work/points.pot
python3 "$here/../gen_pot.py" "$points" "$input"
echo "input: $points points (pot), $(awk -v b="$(stat -c %s "$input")" 'BEGIN { printf "%.1f", b / 1e6 }') MB"
echo "== velorin.exe (Win32) under Wine"
wine "$mingw/bin/win32_edit_bench.exe" "Z:$input" "$rounds" $parts
if [[ -n $linux && -x $linux/bin/edit_bench ]]; then
  echo "== velorin (Qt, offscreen)"
  # One cycle of the memory's moves: its figures are run_edit_bench.sh's.
  QT_QPA_PLATFORM=offscreen "$linux/bin/edit_bench" "$input" "$rounds" 1 2>/dev/null
fi
