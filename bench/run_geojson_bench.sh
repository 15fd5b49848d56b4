#!/usr/bin/env bash
# Speed and memory of velorin-cli's GeoJSON reader: a generated GeoJSON
# FeatureCollection of N Point features (default 1,000,000) converted to NVI,
# beside its floor, RapidJSON's SAX parser alone over the same file with the
# reader's checks, through RapidJSON's own file stream, which copies every
# string (BUILD_DIR/bin/rapidjson_bare_parse), and the reader alone
# with nothing written (BUILD_DIR/bin/geojson_reader_pass). Prints the best
# wall time of three runs, the ratios to the floor, the processor time
# (velorin-cli parses a file on a second thread while it writes), and the
# peak memory.
#
# Usage: bench/run_geojson_bench.sh BUILD_DIR [FEATURES]
# Builds nothing: BUILD_DIR/bin/velorin-cli and rapidjson_bare_parse must
# exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [FEATURES]}
count=${2:-1000000}
cli=$build_dir/bin/velorin-cli
bare=$build_dir/bin/rapidjson_bare_parse
reader=$build_dir/bin/geojson_reader_pass
for program in "$cli" "$bare" "$reader"; do
  [[ -x $program ]] || { echo "no $program: build it first" >&2; exit 1; }
done
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=3

# shellcheck source=bench/best_of.sh
source "$here/best_of.sh"

# Best wall time of $runs runs in nanoseconds, then the peak memory (KiB)
# and the processor time (user and system, seconds) of one more run; the
# output is removed before each run.
measure() {
  local target=$1
  local best
  best=$(best_of "$@" 2>/dev/null)
  shift
  rm -f "$target"
  local peak cpu
  read -r peak cpu < <(/usr/bin/time -f '%M %U %S' "$@" 2>&1 >/dev/null | tail -n 1 |
    awk '{ print $1, $2 + $3 }')
  echo "$best $peak $cpu"
}

input=$work/in.geojson
python3 "$here/gen_geojson.py" "$count" "$input"
stamp='--timestamp=2010/04/01 14:30:00'
read -r nvi_ns nvi_kib nvi_cpu < <(measure "$work/out.nvi" "$cli" convert --force "$stamp" "$input" \
  "$work/out.nvi")
read -r bare_ns bare_kib bare_cpu < <(measure "$work/none" "$bare" "$input")
read -r reader_ns reader_kib reader_cpu < <(measure "$work/none" "$reader" "$input")

awk -v n="$count" -v mb="$(stat -c %s "$input")" -v a="$nvi_ns" -v ak="$nvi_kib" \
  -v b="$bare_ns" -v bk="$bare_kib" -v r="$reader_ns" -v rk="$reader_kib" -v ac="$nvi_cpu" \
  -v bc="$bare_cpu" -v rc="$reader_cpu" 'BEGIN {
  printf "%d features, %.1f MB of GeoJSON; best of 3 runs\n", n, mb / 1e6
  printf "%-27s %7s %18s %12s %10s\n", "", "wall", "", "processor", "peak"
  printf "velorin-cli GeoJSON -> NVI  %7.3f s  %10.0f points/s  %7.3f s  %6.1f MiB\n",
    a / 1e9, n / (a / 1e9), ac, ak / 1024
  printf "GeoJSON reader alone        %7.3f s  %10.0f points/s  %7.3f s  %6.1f MiB\n",
    r / 1e9, n / (r / 1e9), rc, rk / 1024
  printf "RapidJSON SAX alone         %7.3f s  %10.0f points/s  %7.3f s  %6.1f MiB\n",
    b / 1e9, n / (b / 1e9), bc, bk / 1024
  printf "the reader alone takes %.2f times the bare SAX pass, GeoJSON -> NVI %.2f times\n",
    r / b, a / b
  printf "(processor time: GeoJSON -> NVI %.2f times the bare pass, on two threads)\n", ac / bc }'
