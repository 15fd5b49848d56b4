#!/usr/bin/env bash
# Speed and memory of velorin-cli between point formats, beside GPSBabel on
# the same file: GPX -> NVI and NVI -> GPX by velorin-cli, GPX -> CSV
# (unicsv) by GPSBabel, each on N waypoints (default 1,000,000); and the
# floor of the GPX reader: expat alone over the same file (namespace
# processing, a start handler that only counts: BUILD_DIR/bin/expat_bare_parse).
#
# Usage: bench/run_formats_bench.sh BUILD_DIR [WAYPOINTS]
# Builds nothing: BUILD_DIR/bin/velorin-cli must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [WAYPOINTS]}
count=${2:-1000000}
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build the velorin-cli target first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
command -v gpsbabel >/dev/null || { echo "gpsbabel is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=3

now_ns() { date +%s%N; }

# Best wall time of $runs runs in nanoseconds, then the peak memory (KiB) of
# one more run; the output is removed before each run.
measure() {
  local target=$1 repeat=$2
  shift 2
  local best=
  for ((i = 0; i < repeat; i++)); do
    rm -f "$target"
    local start end
    start=$(now_ns)
    "$@" 2>/dev/null
    end=$(now_ns)
    local took=$((end - start))
    if [[ -z $best || $took -lt $best ]]; then best=$took; fi
  done
  rm -f "$target"
  local peak
  peak=$(/usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1)
  echo "$best $peak"
}

gpx=$work/in.gpx
python3 "$here/gen_gpx.py" "$count" "$gpx"
stamp='--timestamp=2010/04/01 14:30:00'

read -r to_nvi_ns to_nvi_kib < <(measure "$work/out.nvi" $runs "$cli" convert --force "$stamp" "$gpx" "$work/out.nvi")
"$cli" convert --force "$stamp" "$gpx" "$work/out.nvi" 2>/dev/null
read -r to_gpx_ns to_gpx_kib < <(measure "$work/back.gpx" $runs "$cli" convert --force "$work/out.nvi" "$work/back.gpx")
"$cli" convert --force "$work/out.nvi" "$work/back.gpx" 2>/dev/null
bare=$build_dir/bin/expat_bare_parse
bare_ns=
if [[ -x $bare ]]; then
  read -r bare_ns _ < <(measure "$work/none" $runs "$bare" "$gpx")
fi
read -r babel_ns babel_kib < <(measure "$work/babel.csv" 1 gpsbabel -i gpx -f "$gpx" -o unicsv -F "$work/babel.csv")
gpsbabel -i gpx -f "$gpx" -o unicsv -F "$work/babel.csv"

mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }
row() {  # name input output ns kib
  printf '%-26s %9s %9s %9s %12.0f %9.1f %9.1f\n' "$1" "$(mb "$2")" "$(mb "$3")" \
    "$(awk -v ns="$4" 'BEGIN { printf "%.3f", ns / 1e9 }')" \
    "$(awk -v n="$count" -v ns="$4" 'BEGIN { print n / (ns / 1e9) }')" \
    "$(awk -v k="$5" 'BEGIN { print k / 1024 }')" \
    "$(awk -v a="$babel_ns" -v b="$4" 'BEGIN { print a / b }')"
}
printf '%-26s %9s %9s %9s %12s %9s %9s\n' "$count waypoints" "input MB" "output MB" "seconds" \
  "points/s" "peak MiB" "x GPSBabel"
row "velorin-cli GPX -> NVI" "$gpx" "$work/out.nvi" "$to_nvi_ns" "$to_nvi_kib"
row "velorin-cli NVI -> GPX" "$work/out.nvi" "$work/back.gpx" "$to_gpx_ns" "$to_gpx_kib"
row "GPSBabel GPX -> CSV" "$gpx" "$work/babel.csv" "$babel_ns" "$babel_kib"
echo "velorin-cli: best of $runs runs; GPSBabel: one run; x GPSBabel: how many times faster"
if [[ -n $bare_ns ]]; then
  awk -v a="$to_nvi_ns" -v b="$bare_ns" 'BEGIN {
    printf "expat alone over the GPX: %.3f s; velorin-cli GPX -> NVI takes %.2f times that\n",
      b / 1e9, a / b }'
fi
