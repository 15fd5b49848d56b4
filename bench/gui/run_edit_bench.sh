#!/usr/bin/env bash
# The map window's edits on a generated GPX file (offscreen): the time of a
# delete, an undo and the redraw after each, for one point and for every
# hundredth, then Select all and a find; each the best of ROUNDS. Then each
# keystroke in the find box, and the memory over CYCLES moves of every
# point, each undone.
#
# Usage: bench/gui/run_edit_bench.sh BUILD_DIR [POINTS] [ROUNDS] [CYCLES]
# Builds nothing: BUILD_DIR/bin/edit_bench must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [POINTS] [ROUNDS] [CYCLES]}
points=${2:-1000000}
rounds=${3:-5}
cycles=${4:-100}
bin=$build_dir/bin
[[ -x $bin/edit_bench ]] || { echo "no $bin/edit_bench: build the edit_bench target first" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gpx=$work/points.gpx
python3 "$here/../gen_gpx.py" "$points" "$gpx"
echo "input: $points points (gpx)"
QT_QPA_PLATFORM=offscreen "$bin/edit_bench" "$gpx" "$rounds" "$cycles"
