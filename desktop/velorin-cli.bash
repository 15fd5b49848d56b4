# Bash completion for velorin-cli: the commands, their options, and file
# names for the files. Installed as bash-completion/completions/velorin-cli.

# The values an option of convert or map takes.
_velorin_cli_values() {
  case $1 in
    --untitled) echo "keep skip" ;;
    --input-encoding) echo "auto cp932 utf-8" ;;
    --from) echo "pot nvi gpx kml kmz csv geojson" ;;
    --to) echo "nvi gpx kml csv geojson pot" ;;
    --csv-encoding) echo "utf-8 utf-8-bom cp932" ;;
    --size) echo "1024x768 800x600 1600x1200 1920x1080" ;;
  esac
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
    convert)
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
        --timestamp)
          return
          ;;
        --thin)
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
        --untitled | --input-encoding | --from | --to | --csv-encoding)
          COMPREPLY=($(compgen -W "$(_velorin_cli_values "$option")" -- "$value"))
          return
          ;;
      esac
      if [[ $cur == -* ]]; then
        local options="--untitled=keep --untitled=skip --log= --timestamp= --force --explain --input-encoding= --points= --thin= --from= --to= -o --output= --output-dir= --dedupe --dedupe= --csv-encoding= --nvi-fields= --help"
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
      fi
      _filedir
      ;;
    map)
      local option="" value=$cur
      if [[ $cur == --*=* ]]; then
        option=${cur%%=*}
        value=${cur#*=}
      elif [[ $prev == --* ]]; then
        option=$prev
      fi
      case $option in
        --size | --untitled | --input-encoding | --from | --to)
          COMPREPLY=($(compgen -W "$(_velorin_cli_values "$option")" -- "$value"))
          return
          ;;
      esac
      if [[ $cur == -* ]]; then
        local options="--size= --labels --no-labels --untitled=keep --untitled=skip --input-encoding= --from= --to= --help"
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
      fi
      _filedir
      ;;
    encode | decode)
      [[ $cur == -* ]] && COMPREPLY=($(compgen -W "--help" -- "$cur"))
      ;;
  esac
} && complete -F _velorin_cli velorin-cli
