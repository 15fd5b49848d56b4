#!/usr/bin/env bash
# The map window on a generated GPX file (offscreen, offline land only):
# time to the first picture beside velorin-cli's GPX to NVI conversion of the
# same file, and the frame times after pans and zooms at every zoom level.
#
# Usage: bench/gui/run_map_bench.sh BUILD_DIR [POINTS]
# Builds nothing: BUILD_DIR/bin/map_bench must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [POINTS]}
points=${2:-1000000}
bin=$build_dir/bin
[[ -x $bin/map_bench ]] || { echo "no $bin/map_bench: build the map_bench target first" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gpx=$work/points.gpx
python3 "$here/../gen_gpx.py" "$points" "$gpx"
echo "input: $points points (gpx), $(awk -v b="$(stat -c %s "$gpx")" 'BEGIN { printf "%.1f", b / 1e6 }') MB"
QT_QPA_PLATFORM=offscreen "$bin/map_bench" "$gpx" 10

if [[ -x $bin/velorin-cli ]]; then
  start=$(date +%s%N)
  "$bin/velorin-cli" convert --force "$gpx" "$work/out.nvi" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "velorin-cli convert GPX to NVI: %.0f ms\n", ns / 1e6 }'
fi
