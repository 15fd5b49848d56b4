# Sourced by the benchmark scripts: wall-clock timing of a command, best of
# $runs runs (the sourcing script sets runs).

now_ns() { date +%s%N; }

# Best wall time of $runs runs, in nanoseconds; the target file is removed
# before each run so that every run creates it afresh.
best_of() {
  local target=$1
  shift
  local best=
  for ((i = 0; i < runs; i++)); do
    rm -f "$target"
    local start end
    start=$(now_ns)
    "$@"
    end=$(now_ns)
    local took=$((end - start))
    if [[ -z $best || $took -lt $best ]]; then best=$took; fi
  done
  echo "$best"
}
