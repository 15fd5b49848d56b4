#!/usr/bin/env bash
# What choosing points costs: POT to NVI by velorin-cli on N generated lines
# (gen_pot.py: Japanese CP932 titles over Japan) without a filter, then with
# each filter and each sort, runs alternating: best wall and processor time
# (user + system), peak memory, and each one's processor time beside the
# conversion without a filter. --match is run twice: a word (found by a plain
# search) and two words as alternatives (through the automaton). With
# valgrind there, the instructions of the run without a filter on a tenth of
# the lines, beside OTHER's when OTHER=DIR names another build: a run
# without a filter must not move.
#
# Usage: bench/run_filter_bench.sh BUILD_DIR [LINES]   (default 1,000,000)
# RUNS sets the number of runs (3). Builds nothing.
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [LINES]}
lines=${2:-1000000}
runs=${RUNS:-3}
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build the velorin-cli target first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 "$here/gen_pot.py" "$lines" "$work/in.pot"
variants=(
  "none|"
  "--near 50 km|--near=35.6812,139.7671,50km"
  "--within Kansai|--within=34.2,134.9,35.2,136.2"
  "--match word|--match=東京"
  "--match regex|--match=東京|大阪"
  "--exclude word|--exclude=tower"
  "--sort=title|--sort=title"
  "--sort=distance|--sort=distance --near=35.6812,139.7671,3000km"
)

# "wall processor peak" of one run, in seconds, seconds and KiB.
measure() {
  # shellcheck disable=SC2086 # the options are words on purpose
  /usr/bin/time -f '%e %U %S %M' "$cli" convert --force --timestamp='2010/04/01 14:30:00' \
    $1 "$work/in.pot" "$work/out.nvi" 2>&1 >/dev/null | tail -n 1 |
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }'
}

declare -A wall processor peak
for ((run = 0; run < runs; run++)); do
  for variant in "${variants[@]}"; do
    name=${variant%%|*}
    read -r w p k < <(measure "${variant#*|}")
    if [[ -z ${wall[$name]-} ]] || awk -v a="$w" -v b="${wall[$name]}" 'BEGIN { exit !(a < b) }'; then
      wall[$name]=$w
    fi
    if [[ -z ${processor[$name]-} ]] || awk -v a="$p" -v b="${processor[$name]}" 'BEGIN { exit !(a < b) }'; then
      processor[$name]=$p
    fi
    peak[$name]=$k
  done
done

printf '%-18s %8s %12s %10s %9s\n' "$lines lines" "wall s" "processor s" "peak KiB" "x none"
for variant in "${variants[@]}"; do
  name=${variant%%|*}
  printf '%-18s %8s %12s %10s %9.2f\n' "$name" "${wall[$name]}" "${processor[$name]}" \
    "${peak[$name]}" "$(awk -v a="${processor[$name]}" -v b="${processor[none]}" \
      'BEGIN { print (b > 0 ? a / b : 0) }')"
done
echo "best of $runs runs, alternating"

if command -v valgrind >/dev/null; then
  head -n $((lines / 10)) "$work/in.pot" > "$work/tenth.pot"
  for build in "$build_dir" ${OTHER:+"$OTHER"}; do
    rm -f "$work/out.nvi"
    count=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "$build/bin/velorin-cli" \
      convert --timestamp='2010/04/01 14:30:00' "$work/tenth.pot" "$work/out.nvi" 2>&1 \
      >/dev/null | awk '/ refs:/ { gsub(",", "", $NF); print $NF }')
    echo "instructions without a filter, $((lines / 10)) lines, $build: $count"
  done
fi
