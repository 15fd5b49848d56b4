#!/usr/bin/env bash
# Instructions that velorin-cli spends converting GPX and KML to NVI, beside
# those of expat alone over the same file (BUILD_DIR/bin/expat_bare_parse),
# and GeoJSON to NVI and the GeoJSON reader alone (geojson_reader_pass)
# beside RapidJSON's SAX pass alone (rapidjson_bare_parse) when those are
# built, counted by valgrind (callgrind). Unlike wall times, the counts do not move
# with what else runs on the machine: compare changes with these.
#
# Usage: bench/count_instructions.sh BUILD_DIR [WAYPOINTS]   (default 100,000)
#        OTHER_CLI=OTHER/bin/velorin-cli bench/count_instructions.sh BUILD_DIR [WAYPOINTS]
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [WAYPOINTS]}
count=${2:-100000}
cli=$build_dir/bin/velorin-cli
bare=$build_dir/bin/expat_bare_parse
[[ -x $cli && -x $bare ]] || { echo "build velorin-cli and expat_bare_parse first" >&2; exit 1; }
command -v valgrind >/dev/null || { echo "valgrind is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/ refs:/ { gsub(",", "", $NF); print $NF }'
}

python3 "$here/gen_gpx.py" "$count" "$work/in.gpx"
"$build_dir/bin/velorin-cli" convert --force "$work/in.gpx" "$work/in.kml" >/dev/null 2>&1
printf '%-22s %14s %14s %7s %12s\n' "$count waypoints" "velorin-cli" "parser alone" "ratio" \
  "per point"
for format in gpx kml; do
  input=$work/in.$format
  rm -f "$work/out.nvi"
  ours=$(instructions "$cli" convert "--timestamp=2010/04/01 14:30:00" "$input" "$work/out.nvi")
  floor=$(instructions "$bare" "$input")
  awk -v n="${format^^} -> NVI" -v a="$ours" -v b="$floor" -v c="$count" 'BEGIN {
    printf "%-22s %14.0f %14.0f %7.3f %12.0f\n", n, a, b, a / b, (a - b) / c }'
done
bare_json=$build_dir/bin/rapidjson_bare_parse
json_reader=$build_dir/bin/geojson_reader_pass
if [[ -x $bare_json && -x $json_reader ]]; then
  input=$work/in.geojson
  python3 "$here/gen_geojson.py" "$count" "$input"
  rm -f "$work/out.nvi"
  ours=$(instructions "$cli" convert "--timestamp=2010/04/01 14:30:00" "$input" "$work/out.nvi")
  reader=$(instructions "$json_reader" "$input")
  floor=$(instructions "$bare_json" "$input")
  for row in "GeoJSON -> NVI:$ours" "GeoJSON reader alone:$reader"; do
    awk -v n="${row%%:*}" -v a="${row##*:}" -v b="$floor" -v c="$count" 'BEGIN {
      printf "%-22s %14.0f %14.0f %7.3f %12.0f\n", n, a, b, a / b, (a - b) / c }'
  done
  echo "(the GeoJSON rows are beside RapidJSON's SAX pass alone, not expat)"
fi
echo "instructions (valgrind); per point: velorin-cli's own beyond the parser's, a point"

# POT to NVI, as the unit's lists are converted, and the same written in the
# Tokyo datum: what moving every position costs, a point. OTHER_CLI (the
# velorin-cli of another build) gives its plain POT figure beside.
pot=$work/in.pot
python3 "$here/gen_pot.py" "$count" "$pot"
plain=$(instructions "$cli" convert --force "--timestamp=2010/04/01 14:30:00" "$pot" \
  "$work/out.nvi")
tokyo=$(instructions "$cli" convert --force "--timestamp=2010/04/01 14:30:00" \
  --output-datum=tokyo "$pot" "$work/out.nvi")
printf '%-34s %14s %8s %12s\n' "$count POT lines" "velorin-cli" "ratio" "per line"
printf '%-34s %14d\n' "POT -> NVI" "$plain"
awk -v n="POT -> NVI --output-datum=tokyo" -v a="$tokyo" -v b="$plain" -v c="$count" 'BEGIN {
  printf "%-34s %14d %8.3f %12.0f\n", n, a, a / b, (a - b) / c }'
if [[ -n ${OTHER_CLI:-} ]]; then
  other=$(instructions "$OTHER_CLI" convert --force "--timestamp=2010/04/01 14:30:00" "$pot" \
    "$work/out.nvi")
  awk -v n="POT -> NVI by $OTHER_CLI" -v a="$other" -v b="$plain" -v c="$count" 'BEGIN {
    printf "%-34s %14d %8.3f %12.0f\n", n, a, b / a, (b - a) / c }'
  echo "(the last row's ratio and per line: this build's POT -> NVI beside OTHER_CLI's)"
fi
