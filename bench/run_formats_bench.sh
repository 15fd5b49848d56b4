#!/usr/bin/env bash
# Speed and memory of velorin-cli between point formats, held to the floor
# of its XML readers: expat alone over the same file (namespace processing,
# a start handler that only counts: BUILD_DIR/bin/expat_bare_parse).
#
# On N waypoints (default 1,000,000; bench/gen_gpx.py) and on the same
# points as KML (written from the GPX by velorin-cli), prints for GPX -> NVI
# and KML -> NVI: velorin-cli's best wall and processor times, expat's best
# over the same file (the two runs alternate, so that a busy moment of the
# machine hits both), their ratios and velorin-cli's peak memory. Then KMZ ->
# NVI (that KML deflated into doc.kml of a zip), NVI -> GPX, and
# GPSBabel's GPX -> CSV (unicsv) on the same file when gpsbabel is there.
# With valgrind, bench/count_instructions.sh follows on a tenth of the points
# (at most 100,000): instruction counts do not move with the machine's load.
#
# Usage: bench/run_formats_bench.sh BUILD_DIR [WAYPOINTS]
# Builds nothing: BUILD_DIR/bin/velorin-cli must exist (use a Release build).
# RUNS (default 5) sets how many runs the best is taken of.
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [WAYPOINTS]}
count=${2:-1000000}
cli=$build_dir/bin/velorin-cli
bare=$build_dir/bin/expat_bare_parse
[[ -x $cli ]] || { echo "no $cli: build the velorin-cli target first" >&2; exit 1; }
[[ -x $bare ]] || { echo "no $bare: build the expat_bare_parse target first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-5}
stamp='--timestamp=2010/04/01 14:30:00'

now_ns() { date +%s%N; }

# Wall time of one run in nanoseconds; `target` is removed before (a new
# output is written, never one replaced).
took_ns() {
  local target=$1
  shift
  rm -f "$target"
  local start end
  start=$(now_ns)
  "$@" >/dev/null 2>&1
  end=$(now_ns)
  echo $((end - start))
}

peak_kib() {
  local target=$1
  shift
  rm -f "$target"
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}

seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }

# One run under GNU time: "wall processor peak" (seconds, seconds of user
# and system time, KiB); `target` is removed before.
timed() {
  local target=$1
  shift
  rm -f "$target"
  /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$@" >/dev/null 2>&1
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# INPUT: velorin-cli INPUT -> NVI beside expat alone over INPUT, alternating,
# best wall and processor times of each. Prints two rows.
versus_expat() {
  local name=$1 input=$2 wall='' cpu='' bare_wall='' bare_cpu='' peak=0
  for ((i = 0; i < runs; i++)); do
    local w c m
    read -r w c m < <(timed "$work/out.nvi" "$cli" convert --force "$stamp" "$input" "$work/out.nvi")
    wall=$(smaller "$w" "$wall") cpu=$(smaller "$c" "$cpu")
    ((m > peak)) && peak=$m
    read -r w c m < <(timed "$work/none" "$bare" "$input")
    bare_wall=$(smaller "$w" "$bare_wall") bare_cpu=$(smaller "$c" "$bare_cpu")
  done
  local mib
  mib=$(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }')
  printf '%-22s %9s %11s %11s %7s %9s\n' "$name, wall" "$(mb "$input")" "$wall" "$bare_wall" \
    "$(ratio "$wall" "$bare_wall")" "$mib"
  printf '%-22s %9s %11s %11s %7s %9s\n' "$name, processor" "" "$cpu" "$bare_cpu" \
    "$(ratio "$cpu" "$bare_cpu")" ""
}

# Best wall time of $runs runs and the peak memory of one more.
alone() {
  local name=$1 input=$2 target=$3 repeat=$4 best=
  shift 4
  for ((i = 0; i < repeat; i++)); do
    local a
    a=$(took_ns "$target" "$@")
    if [[ -z $best || $a -lt $best ]]; then best=$a; fi
  done
  local peak
  peak=$(peak_kib "$target" "$@")
  "$@" >/dev/null 2>&1  # leaves the output for the next step
  printf '%-22s %9s %11s %11s %7s %9.1f\n' "$name" "$(mb "$input")" "$(seconds "$best")" "" "" \
    "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
}

gpx=$work/in.gpx
kml=$work/in.kml
python3 "$here/gen_gpx.py" "$count" "$gpx"
"$cli" convert --force "$gpx" "$kml" >/dev/null 2>&1
kmz=$work/in.kmz
python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_DEFLATED) as z: z.write(sys.argv[1], "doc.kml")' \
  "$kml" "$kmz"

printf '%-22s %9s %11s %11s %7s %9s\n' "$count waypoints" "input MB" "velorin-cli" "expat alone" \
  "ratio" "peak MiB"
versus_expat "GPX -> NVI" "$gpx"
versus_expat "KML -> NVI" "$kml"
alone "KMZ -> NVI" "$kmz" "$work/out.nvi" "$runs" \
  "$cli" convert --force "$stamp" "$kmz" "$work/out.nvi"
alone "NVI -> GPX" "$work/out.nvi" "$work/back.gpx" "$runs" \
  "$cli" convert --force "$work/out.nvi" "$work/back.gpx"
if command -v gpsbabel >/dev/null; then
  alone "GPSBabel GPX -> CSV" "$gpx" "$work/babel.csv" 1 \
    gpsbabel -i gpx -f "$gpx" -o unicsv -F "$work/babel.csv"
fi
echo "seconds: best of $runs runs (GPSBabel: one run); ratio: velorin-cli over expat alone;"
echo "processor: user + system time, steadier than wall time while other programs run"

if command -v valgrind >/dev/null; then
  small=$((count / 10 < 100000 ? count / 10 : 100000))
  ((small > 0)) || small=$count
  echo
  "$here/count_instructions.sh" "$build_dir" "$small"
fi
