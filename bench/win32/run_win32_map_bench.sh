#!/usr/bin/env bash
# The map window on the same generated point file in velorin.exe (under Wine,
# win32_map_bench, on the display in $DISPLAY) and, when a Linux build is
# named, in the Qt window (map_bench, offscreen): the time from asking for
# the map to its first clusters drawn, and the frames after pans and zooms
# at every zoom level, on a map of the same size. Offline land only.
#
# Usage: bench/win32/run_win32_map_bench.sh MINGW_BUILD [POINTS [LINUX_BUILD [pot|gpx]]]
# POT by default: Wine's XmlLite stops on generated GPX files of some MB
# ("invalid token" after a Japanese name), which Windows has not been seen to.
# Builds nothing: MINGW_BUILD/bin/win32_map_bench.exe (and
# LINUX_BUILD/bin/map_bench) must exist.
set -euo pipefail

mingw=${1:?usage: $0 MINGW_BUILD [POINTS [LINUX_BUILD]]}
points=${2:-1000000}
linux=${3:-}
format=${4:-pot}
here=$(cd "$(dirname "$0")" && pwd)
[[ -f $mingw/bin/win32_map_bench.exe ]] || { echo "no $mingw/bin/win32_map_bench.exe" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input=$work/points.$format
python3 "$here/../gen_$format.py" "$points" "$input"
echo "input: $points points ($format), $(awk -v b="$(stat -c %s "$input")" 'BEGIN { printf "%.1f", b / 1e6 }') MB"
# A map of the size the Qt window gives its map in map_bench's window.
echo "== velorin.exe (Win32, GDI) under Wine"
wine "$mingw/bin/win32_map_bench.exe" "Z:$input" 10 455 716
if [[ -n $linux && -x $linux/bin/map_bench ]]; then
  echo "== velorin (Qt, offscreen)"
  QT_QPA_PLATFORM=offscreen "$linux/bin/map_bench" "$input" 10 2>/dev/null
fi
