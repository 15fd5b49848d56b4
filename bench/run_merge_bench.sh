#!/usr/bin/env bash
# Merging several files into one NVI file against converting one file of as
# many waypoints: wall time (best of 3) and peak memory of velorin-cli, with
# and without --dedupe. The merge reads its inputs one after another through
# one run, so it should cost about what the single file costs; --dedupe adds
# a hash of every title and a look-up in a grid of the points kept.
#
# Usage: bench/run_merge_bench.sh BUILD_DIR [FILES [WAYPOINTS_EACH]]
# (default 10 files of 100000 waypoints). Builds nothing: BUILD_DIR/bin/
# velorin-cli must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [FILES [WAYPOINTS_EACH]]}
files=${2:-10}
each=${3:-100000}
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build the velorin-cli target first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=3

# shellcheck source=bench/best_of.sh
source "$here/best_of.sh"

total=$((files * each))
python3 "$here/gen_gpx.py" "$total" "$work/one.gpx"
# The parts of one.gpx, so that both conversions write the same points:
# every part holds the file's header and footer around its share of <wpt>.
python3 - "$work/one.gpx" "$work" "$files" "$each" <<'PY'
import sys
path, folder, files, each = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
text = open(path, encoding="utf-8").read()
head, _, rest = text.partition("  <wpt")
body, _, _ = rest.rpartition("</gpx>")
points = ("  <wpt" + body).split("  </wpt>\n")[:-1]
for k in range(files):
    with open(f"{folder}/part{k:02d}.gpx", "w", encoding="utf-8") as out:
        out.write(head + "".join(p + "  </wpt>\n" for p in points[k * each:(k + 1) * each]))
        out.write("</gpx>\n")
PY
parts=("$work"/part*.gpx)
stamp=--timestamp='2010/04/01 14:30:00'

measure() {  # LABEL ARGS...: best wall time and peak memory of one conversion
  local label=$1
  shift
  local ns peak
  ns=$(best_of "$work/out.nvi" "$cli" convert "$stamp" "$@" -o "$work/out.nvi" 2>/dev/null)
  rm -f "$work/out.nvi"
  peak=$(/usr/bin/time -f %M "$cli" convert "$stamp" "$@" -o "$work/out.nvi" 2>&1 >/dev/null |
    tail -n 1)
  printf '%-34s %8.3f s %8s KiB\n' "$label" "$(echo "$ns / 1000000000" | bc -l)" "$peak" >&2
  echo "$ns"
}

echo "velorin-cli: $files GPX files of $each waypoints merged, against one of $total" >&2
one=$(measure "one file" "$work/one.gpx")
merged=$(measure "$files files merged" "${parts[@]}")
one_dedupe=$(measure "one file, --dedupe" --dedupe "$work/one.gpx")
merged_dedupe=$(measure "$files files merged, --dedupe=10" --dedupe=10 "${parts[@]}")
exec 1>&2
printf 'merged / one file: %.3f (goal: 1.1 at most)\n' "$(echo "$merged / $one" | bc -l)"
printf 'merged with --dedupe=10 / one file: %.3f\n' "$(echo "$merged_dedupe / $one" | bc -l)"
printf 'one file with --dedupe / without: %.3f\n' "$(echo "$one_dedupe / $one" | bc -l)"
