#!/usr/bin/env bash
# The bash completion of velorin-cli offers what each position takes, and
# (given the program) every option of convert and map as their --help shows
# it, with the values it lists, which come from the format table.
#   completion_test.sh COMPLETION-FILE [VELORIN-CLI]
set -uo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"
# compopt works only while bash completes; the test calls the function itself.
compopt() { :; }

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# completed "WORDS...": what the completion offers for the last word.
completed() {
  local line=$1
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMPREPLY=()
  _velorin_cli
  echo "${COMPREPLY[*]}"
}
# check "WORDS..." EXPECTED: completes the last word of WORDS.
check() {
  local got
  got=$(completed "$1")
  [[ $got == "$2" ]] || fail "'$1' gave '$got', expected '$2'"
}

# check_against_help VELORIN-CLI COMMAND: the options of COMMAND --help,
# each "  -o,--output TYPE  help" or "  --force  help", both ways.
check_against_help() {
  local program=$1 command=$2 line name type offered shown=" " word
  offered=" $(completed "velorin-cli $command -") "
  while IFS= read -r line; do
    [[ $line =~ ^\ \ (-[a-z],)?(--[a-z-]+)(\ ([^ ]+))? ]] || continue
    name=${BASH_REMATCH[2]} type=${BASH_REMATCH[4]}
    shown+="$name ${BASH_REMATCH[1]%,} "
    case $type in
      "" | Excludes: | Needs:)
        [[ $offered == *" $name "* ]] || fail "$command: $name is not offered"
        ;;
      "[="*)
        [[ $offered == *" $name "* && $offered == *" $name="* ]] ||
          fail "$command: $name is not offered alone and with ="
        ;;
      *)
        [[ $offered == *" $name="* ]] || fail "$command: $name= is not offered"
        if [[ $type =~ :\{([^}]*)\} ]]; then
          local values=${BASH_REMATCH[1]//,/ } got
          got=$(completed "velorin-cli $command $name=")
          [[ $got == "$values" ]] || fail "$command $name= gave '$got', the help lists '$values'"
        fi
        ;;
    esac
  done < <("$program" "$command" --help)
  for word in $offered; do
    [[ $shown == *" ${word%%=*} "* ]] || fail "$command: $word is offered, the help has no ${word%%=*}"
  done
}

if [[ -n ${2-} ]]; then
  for command in convert map; do check_against_help "$2" "$command"; done
fi

check "velorin-cli con" "convert"
check "velorin-cli " "convert map encode decode --help --version"
check "velorin-cli map --no" "--no-labels"
check "velorin-cli map --size=1" "1024x768 1600x1200 1920x1080"
check "velorin-cli map --to g" "gpx geojson"
check "velorin-cli convert --unt" "--untitled=keep --untitled=skip"
check "velorin-cli convert --untitled=s" "skip"
check "velorin-cli convert --fo" "--force"
check "velorin-cli convert --from=k" "kml kmz"
check "velorin-cli convert --to=" "pot nvi gpx kml csv geojson"
check "velorin-cli convert --from=g" "gpx geojson"
check "velorin-cli convert --from k" "kml kmz"
check "velorin-cli convert --input-encoding u" "utf-8"
check "velorin-cli convert --untitled " "keep skip"
check "velorin-cli convert --timestamp " ""
check "velorin-cli convert --force --f" "--from= --force"
check "velorin-cli convert --sort=d" "distance"
check "velorin-cli convert --sort " "title distance"
check "velorin-cli convert --near=" ""
check "velorin-cli convert --ex" "--exclude= --explain"
check "velorin-cli map --n" "--near= --no-labels"
check "velorin-cli map --sort=t" "title"
check "velorin-cli map --match " ""
check "velorin-cli convert --input-d" "--input-datum="
check "velorin-cli convert --output-datum=t" "tokyo"
check "velorin-cli convert --input-datum " "wgs84 tokyo"
check "velorin-cli map --input-datum=w" "wgs84"
check "velorin-cli decode --h" "--help"
[[ $failures -eq 0 ]] && echo "all completions as expected"
exit "$failures"
