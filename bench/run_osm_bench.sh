#!/usr/bin/env bash
# An OpenStreetMap extract read by velorin-cli: a generated PBF file of
# NODES nodes and WAYS ways (default 10,000,000 and 1,000,000; gen_osm.py),
# the fuel stations and car parks kept (nodes, closed ways, multipolygons)
# into CSV, beside osmium tags-filter with the same tags (the floor: it
# decodes on several threads and writes PBF) and GDAL's ogr2ogr over the
# same file (points and multipolygons layers with the same filter). Prints
# wall time and peak memory of each, one run each (the file is large).
#
# Usage: bench/run_osm_bench.sh BUILD_DIR [NODES] [WAYS]
set -euo pipefail
build_dir=${1:?usage: $0 BUILD_DIR [NODES] [WAYS]}
nodes=${2:-10000000}
ways=${3:-1000000}
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build it first" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_osm.py" "$work/big.opl" "$nodes" "$ways"
osmium cat "$work/big.opl" -o "$work/big.osm.pbf" -O
rm "$work/big.opl"
echo "$nodes nodes, $ways ways: $(stat -c %s "$work/big.osm.pbf") bytes of PBF"

measure() {  # wall seconds and peak KiB of "$@"
  local label=$1
  shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/err" ||
    { cat "$work/err" >&2; return 1; }
  read -r s kib <"$work/time"
  printf '%-24s %8.2f s  %8d KiB peak\n' "$label" "$s" "$kib"
}

measure velorin-cli "$cli" convert "$work/big.osm.pbf" --osm-tags=amenity=fuel,amenity=parking \
  -o "$work/out.csv" --force
echo "velorin-cli points: $(($(wc -l <"$work/out.csv") - 1))"
if command -v osmium >/dev/null; then
  measure "osmium tags-filter" osmium tags-filter "$work/big.osm.pbf" amenity=fuel amenity=parking \
    -o "$work/filtered.osm.pbf" -O
fi
if command -v ogr2ogr >/dev/null; then
  measure "ogr2ogr points" ogr2ogr -f CSV "$work/gdal-points.csv" "$work/big.osm.pbf" points \
    -where "other_tags LIKE '%\"amenity\"=>\"fuel\"%'"
  measure "ogr2ogr multipolygons" ogr2ogr -f CSV "$work/gdal-areas.csv" "$work/big.osm.pbf" \
    multipolygons -where "amenity = 'parking'"
fi
