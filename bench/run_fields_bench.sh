#!/usr/bin/env bash
# What a point's further texts (descriptions, addresses, links ...) cost:
# instructions (valgrind's callgrind) of velorin-cli converting POT, GPX and
# GeoJSON to NVI, without --nvi-fields and with --nvi-fields=all, on files
# without texts and (GPX, GeoJSON) with them, beside the bare parsers
# (expat_bare_parse, rapidjson_bare_parse) and the GeoJSON reader alone.
# OTHER=DIR (the bin folder of another build, one that may not know
# --nvi-fields) adds its figures for the runs without the option and the
# change against them: how the texts cost what is not asked for.
#
# Usage: bench/run_fields_bench.sh BUILD_DIR [POINTS]   (default 100,000)
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [POINTS]}
count=${2:-100000}
bin=$build_dir/bin
other=${OTHER:-}
for program in velorin-cli expat_bare_parse rapidjson_bare_parse geojson_reader_pass; do
  [[ -x $bin/$program ]] || { echo "build $program first" >&2; exit 1; }
done
command -v valgrind >/dev/null || { echo "valgrind is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    awk '/ refs:/ { gsub(",", "", $NF); print $NF }'
}

convert() {  # PROGRAM INPUT [OPTION]: instructions of one conversion to NVI
  local program=$1 input=$2
  shift 2
  rm -f "$work/out.nvi"
  instructions "$program" convert "--timestamp=2010/04/01 14:30:00" "$@" "$input" "$work/out.nvi"
}

python3 "$here/gen_pot.py" "$count" "$work/plain.pot"
python3 "$here/gen_gpx.py" "$count" "$work/plain.gpx"
python3 "$here/gen_gpx.py" "$count" "$work/texts.gpx" texts
python3 "$here/gen_geojson.py" "$count" "$work/plain.geojson"
python3 "$here/gen_geojson.py" "$count" "$work/texts.geojson" texts

row() {  # NAME INSTRUCTIONS [OTHER'S INSTRUCTIONS]
  awk -v n="$1" -v a="$2" -v b="${3:-}" -v c="$count" 'BEGIN {
    if (b == "") printf "%-40s %14.0f %10.0f\n", n, a, a / c
    else printf "%-40s %14.0f %10.0f %14.0f %+8.2f%%\n", n, a, a / c, b, (a - b) * 100 / b }'
}

printf '%-40s %14s %10s %14s %9s\n' "$count points" "instructions" "per point" "OTHER" "change"
for input in plain.pot plain.gpx texts.gpx plain.geojson texts.geojson; do
  format=${input#*.}
  kind=${input%%.*}
  ours=$(convert "$bin/velorin-cli" "$work/$input")
  theirs=""
  [[ -n $other ]] && theirs=$(convert "$other/velorin-cli" "$work/$input")
  row "${format^^} ($kind) -> NVI" "$ours" "$theirs"
  row "${format^^} ($kind) -> NVI --nvi-fields=all" \
    "$(convert "$bin/velorin-cli" "$work/$input" --nvi-fields=all)"
done
for input in plain.gpx texts.gpx; do
  row "expat alone (${input%%.*} GPX)" "$(instructions "$bin/expat_bare_parse" "$work/$input")"
done
for input in plain.geojson texts.geojson; do
  ours=$(instructions "$bin/geojson_reader_pass" "$work/$input")
  theirs=""
  [[ -n $other && -x $other/geojson_reader_pass ]] &&
    theirs=$(instructions "$other/geojson_reader_pass" "$work/$input")
  row "GeoJSON reader alone (${input%%.*})" "$ours" "$theirs"
  row "RapidJSON alone (${input%%.*})" "$(instructions "$bin/rapidjson_bare_parse" "$work/$input")"
done
echo "instructions (valgrind); they do not move with the machine's load, unlike wall times"
