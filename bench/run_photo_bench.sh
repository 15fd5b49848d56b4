#!/usr/bin/env bash
# Photos read for their positions: N generated geotagged JPEGs of SIZE bytes
# each (default 5,000 of 8 MB; sparse files, so they take no disk) in one
# folder, converted to GPX by velorin-cli, beside GPSBabel's exif reader over
# the same files (when installed, one run: it is slow). Prints the best wall
# time of three runs and the peak memory; the page cache is warm after the first run, as it is
# for a folder just copied from a camera.
#
# Usage: bench/run_photo_bench.sh BUILD_DIR [N] [SIZE]
set -euo pipefail
build_dir=${1:?usage: $0 BUILD_DIR [N] [SIZE]}
count=${2:-5000}
size=${3:-8388608}
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build it first" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_photos.py" "$work/photos" "$count" "$size"
echo "$count photos of $size bytes (sparse) in $work/photos"

best() {  # best wall seconds and peak KiB of $runs runs of "$@"
  local best_s="" peak=0
  for ((run = 0; run < runs; run++)); do
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
    read -r s kib <"$work/time"
    if [[ -z $best_s ]] || awk "BEGIN{exit !($s < $best_s)}"; then best_s=$s; fi
    ((kib > peak)) && peak=$kib
  done
  printf '%-28s %8.2f s  %8d KiB peak\n' "$1 $2" "$best_s" "$peak"
}

runs=3
best "$cli" convert "$work/photos" -o "$work/out.gpx" --force
# GPSBabel takes some 75 ms a photo (six minutes for 5,000): one run.
runs=1
if command -v gpsbabel >/dev/null; then
  args=()
  for photo in "$work"/photos/*.jpg; do args+=(-f "$photo"); done
  best gpsbabel -i exif "${args[@]}" -o gpx -F "$work/babel.gpx"
fi
grep -c "<wpt" "$work/out.gpx" | sed 's/^/velorin-cli points: /'
