# Bash completion for velorin-cli: the commands, their options, and file
# names for the files. Installed as bash-completion/completions/velorin-cli.
# tests/install/completion_test.sh holds the options and their values
# against what `velorin-cli COMMAND --help` shows, which takes the format
# names from the format table.

# The values an option of convert or map takes, in the order of the help.
_velorin_cli_values() {
  case $1 in
    --untitled) echo "keep skip" ;;
    --input-encoding) echo "auto cp932 utf-8" ;;
    --from) echo "pot nvi gpx kml kmz csv geojson photo osm" ;;
    --to) echo "pot nvi gpx kml csv geojson" ;;
    --csv-encoding) echo "utf-8 utf-8-bom cp932" ;;
    --input-datum | --output-datum) echo "wgs84 tokyo" ;;
    --size) echo "1024x768 800x600 1600x1200 1920x1080" ;;
    --sort) echo "title distance" ;;
    --input-datum | --output-datum) echo "wgs84 tokyo" ;;
  esac
}

# The options of a command, those that take a value with "=".
_velorin_cli_options() {
  local shared="--untitled=keep --untitled=skip --input-encoding= --input-datum= --points= --thin= --osm-tags= --osm-name= --from= --dedupe --dedupe= --near= --within= --match= --exclude= --sort= --log= --force --explain --to= -o --output= --help"
  case $1 in
    convert) echo "$shared --timestamp= --output-dir= --csv-encoding= --output-datum= --nvi-fields=" ;;
    map) echo "$shared --size= --labels --no-labels" ;;
  esac
}

# Completes the word of convert or map; $1 is the command.
_velorin_cli_points_command() {
  # An option's value, written as --from=kml or as --from kml.
  local option="" value=$cur
  if [[ $cur == --*=* ]]; then
    option=${cur%%=*}
    value=${cur#*=}
  elif [[ $prev == --* || $prev == -o ]]; then
    option=$prev
  fi
  case $option in
    --log | -o | --output)
      cur=$value
      _filedir
      return
      ;;
    --output-dir)
      cur=$value
      _filedir -d
      return
      ;;
    --dedupe)
      # A flag: its distance only ever follows "=".
      [[ $cur == --dedupe=* ]] && return
      ;;
    --timestamp | --thin | --near | --within | --match | --exclude)
      return
      ;;
    --points | --nvi-fields)
      # A comma-separated list: the last word is completed.
      local done="" words="waypoints routes tracks"
      [[ $option == --nvi-fields ]] && words="addr comm hpgl mail all"
      [[ $value == *,* ]] && done=${value%,*},
      COMPREPLY=($(compgen -P "$done" -W "$words" -- "${value##*,}"))
      compopt -o nospace
      return
      ;;
    --untitled | --input-encoding | --from | --to | --csv-encoding | --size | --sort | \
      --input-datum | --output-datum)
      COMPREPLY=($(compgen -W "$(_velorin_cli_values "$option")" -- "$value"))
      return
      ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(_velorin_cli_options "$1")" -- "$cur"))
    [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
    return
  fi
  _filedir
}

_velorin_cli() {
  local cur prev words cword
  _init_completion -n = || return

  local command="" i
  for ((i = 1; i < cword; i++)); do
    case ${words[i]} in
      convert | map | encode | decode)
        command=${words[i]}
        break
        ;;
    esac
  done

  case $command in
    "")
      COMPREPLY=($(compgen -W "convert map encode decode --help --version" -- "$cur"))
      ;;
    convert | map)
      _velorin_cli_points_command "$command"
      ;;
    encode | decode)
      [[ $cur == -* ]] && COMPREPLY=($(compgen -W "--help" -- "$cur"))
      ;;
  esac
} && complete -F _velorin_cli velorin-cli
