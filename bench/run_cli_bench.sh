#!/usr/bin/env bash
# Conversion speed and memory of velorin-cli, next to the time that merely
# copying a file of the output's size takes (the write floor), measured two
# ways:
# - cat: GNU cat copies inside the kernel where it can (copy_file_range), so
#   this floor is the cost of putting that many bytes into a file, nothing
#   more;
# - dd bs=1M: reads the NVI output into a buffer and writes it out again in
#   1 MiB pieces, the way velorin-cli writes (its output goes through a
#   1 MiB buffer), so this floor also holds the copies through user memory.
# Both floors write a new file, as velorin-cli does when its output does not
# exist yet (it renames a hidden temporary file into place, no fsync).
#
# Replacing an existing output costs more: velorin-cli writes the hidden
# temporary file beside the output, fsyncs it (a crash must not leave an
# empty file where the old one was) and renames it over the old file. Its
# floor is the shell doing the same with the same bytes: dd bs=1M
# conv=fsync into a temporary file in the same folder, then mv over the
# existing file. The old file's blocks are freed in both. This floor runs
# two programs where velorin-cli is one; fsync's wait for the disk dominates
# both. The figure depends on the disk and on what else writes to it: on
# tmpfs fsync costs nothing, so the folder's file system is printed (set
# TMPDIR to measure another disk).
#
# Usage: bench/run_cli_bench.sh BUILD_DIR [LINES...]
# Builds nothing: BUILD_DIR/bin/velorin-cli must exist (use a Release build).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [LINES...]}
shift
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(100000 1000000)
cli=$build_dir/bin/velorin-cli
[[ -x $cli ]] || { echo "no $cli: build the velorin-cli target first" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "GNU time (/usr/bin/time) is needed" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=3

# shellcheck source=bench/best_of.sh
source "$here/best_of.sh"

# Like best_of, for a target that exists before each run (each run leaves it
# in place for the next).
best_of_replacing() {
  local target=$1
  shift
  [[ -f $target ]] || { echo "best_of_replacing: no $target to replace" >&2; exit 1; }
  local best=
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(now_ns)
    "$@"
    end=$(now_ns)
    [[ -f $target ]] || { echo "best_of_replacing: $target is gone" >&2; exit 1; }
    local took=$((end - start))
    if [[ -z $best || $took -lt $best ]]; then best=$took; fi
  done
  echo "$best"
}

# The shell's way of replacing $2 with the bytes of $1 safely.
replace_by_shell() {
  local temporary
  temporary=$(dirname "$2")/.$(basename "$2").shell-tmp
  dd if="$1" of="$temporary" bs=1M conv=fsync status=none
  mv -f "$temporary" "$2"
}

convert() {
  "$cli" convert --force --timestamp='2010/04/01 14:30:00' "$1" "$2" 2>/dev/null
}

# The same, written in the Tokyo datum: every position moved by PROJ.
convert_tokyo() {
  "$cli" convert --force --timestamp='2010/04/01 14:30:00' --output-datum=tokyo "$1" "$2" \
    2>/dev/null
}

seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }

echo "work folder: $work ($(stat -f -c %T "$work"))"
printf '%-9s %9s %9s %9s %12s %10s %8s %8s %7s %8s %7s %9s %9s %7s %8s %8s\n' \
  lines "input MB" "output MB" "convert s" "lines/s" "peak KiB" "peak MiB" \
  "cat s" "x cat" "dd s" "x dd" "replace s" "shell s" "x shell" "tokyo s" "x tokyo"
for lines in "${sizes[@]}"; do
  pot=$work/in-$lines.pot
  nvi=$work/out-$lines.nvi
  python3 "$here/gen_pot.py" "$lines" "$pot"
  convert "$pot" "$nvi"  # warm the page cache and check that it works
  convert_ns=$(best_of "$nvi" convert "$pot" "$nvi")
  rm -f "$nvi"
  peak_kib=$(/usr/bin/time -f %M "$cli" convert --force --timestamp='2010/04/01 14:30:00' \
    "$pot" "$nvi" 2>&1 >/dev/null | tail -n 1)
  copy=$work/copy-$lines.nvi
  cat_ns=$(best_of "$copy" sh -c 'cat "$1" > "$2"' sh "$nvi" "$copy")
  dd_ns=$(best_of "$copy" dd if="$nvi" of="$copy" bs=1M status=none)
  rm -f "$copy"
  # Replacing: the output from the runs above exists; the shell's target is
  # a copy of it.
  replace_ns=$(best_of_replacing "$nvi" convert "$pot" "$nvi")
  cp "$nvi" "$copy"
  shell_ns=$(best_of_replacing "$copy" replace_by_shell "$nvi" "$copy")
  rm -f "$copy"
  rm -f "$nvi"
  tokyo_ns=$(best_of "$nvi" convert_tokyo "$pot" "$nvi")
  printf '%-9s %9.1f %9.1f %9s %12.0f %10s %8.1f %8s %7.2f %8s %7.2f %9s %9s %7.2f %8s %8.2f\n' \
    "$lines" "$(awk -v b="$(stat -c %s "$pot")" 'BEGIN { print b / 1e6 }')" \
    "$(awk -v b="$(stat -c %s "$nvi")" 'BEGIN { print b / 1e6 }')" \
    "$(seconds "$convert_ns")" \
    "$(awk -v n="$lines" -v ns="$convert_ns" 'BEGIN { print n / (ns / 1e9) }')" \
    "$peak_kib" "$(awk -v k="$peak_kib" 'BEGIN { print k / 1024 }')" \
    "$(seconds "$cat_ns")" "$(awk -v a="$convert_ns" -v b="$cat_ns" 'BEGIN { print a / b }')" \
    "$(seconds "$dd_ns")" "$(awk -v a="$convert_ns" -v b="$dd_ns" 'BEGIN { print a / b }')" \
    "$(seconds "$replace_ns")" "$(seconds "$shell_ns")" \
    "$(awk -v a="$replace_ns" -v b="$shell_ns" 'BEGIN { print a / b }')" \
    "$(seconds "$tokyo_ns")" "$(awk -v a="$tokyo_ns" -v b="$convert_ns" 'BEGIN { print a / b }')"
  rm -f "$pot" "$nvi"
done
echo "best of $runs runs; floors: cat, and dd bs=1M, of the NVI output into a new file;"
echo "replace: velorin-cli onto an existing output, beside dd conv=fsync to a temporary file + mv"
echo "tokyo: the same conversion with --output-datum=tokyo (every position moved), beside convert"
