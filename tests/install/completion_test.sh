#!/usr/bin/env bash
# The bash completion of velorin-cli offers what each position takes.
#   completion_test.sh COMPLETION-FILE
set -uo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"

failures=0
# complete "WORDS..." EXPECTED: completes the last word of WORDS.
check() {
  local line=$1 expected=$2
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  _velorin_cli
  local got="${COMPREPLY[*]}"
  if [[ $got != "$expected" ]]; then
    echo "FAIL: '$line' gave '$got', expected '$expected'"
    failures=$((failures + 1))
  fi
}

check "velorin-cli con" "convert"
check "velorin-cli " "convert map encode decode --help --version"
check "velorin-cli map --no" "--no-labels"
check "velorin-cli map --size=1" "1024x768 1600x1200 1920x1080"
check "velorin-cli map --to g" "gpx geojson"
check "velorin-cli convert --unt" "--untitled=keep --untitled=skip"
check "velorin-cli convert --untitled=s" "skip"
check "velorin-cli convert --fo" "--force"
check "velorin-cli convert --from=k" "kml kmz"
check "velorin-cli convert --to=" "nvi gpx kml csv geojson pot"
check "velorin-cli convert --from=g" "gpx geojson"
check "velorin-cli convert --from k" "kml kmz"
check "velorin-cli convert --input-encoding u" "utf-8"
check "velorin-cli convert --untitled " "keep skip"
check "velorin-cli convert --timestamp " ""
check "velorin-cli convert --force --f" "--force --from="
check "velorin-cli convert --input-d" "--input-datum="
check "velorin-cli convert --output-datum=t" "tokyo"
check "velorin-cli convert --input-datum " "wgs84 tokyo"
check "velorin-cli map --input-datum=w" "wgs84"
check "velorin-cli map --o" ""
check "velorin-cli decode --h" "--help"
[[ $failures -eq 0 ]] && echo "all completions as expected"
exit "$failures"
