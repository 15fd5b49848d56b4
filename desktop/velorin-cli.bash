# Bash completion for velorin-cli: the commands, their options, and file
# names for the files. Installed as bash-completion/completions/velorin-cli.

_velorin_cli() {
  local cur prev words cword
  _init_completion -n = || return

  local command="" i
  for ((i = 1; i < cword; i++)); do
    case ${words[i]} in
      convert | encode | decode)
        command=${words[i]}
        break
        ;;
    esac
  done

  case $command in
    "")
      COMPREPLY=($(compgen -W "convert encode decode --help --version" -- "$cur"))
      ;;
    convert)
      case $cur in
        --untitled=*)
          COMPREPLY=($(compgen -W "keep skip" -- "${cur#--untitled=}"))
          return
          ;;
        --log=*)
          cur=${cur#--log=}
          _filedir
          return
          ;;
        --timestamp=*)
          return
          ;;
        --input-encoding=*)
          COMPREPLY=($(compgen -W "auto cp932 utf-8" -- "${cur#--input-encoding=}"))
          return
          ;;
        --from=*)
          COMPREPLY=($(compgen -W "pot nvi gpx kml kmz csv" -- "${cur#--from=}"))
          return
          ;;
        --to=*)
          COMPREPLY=($(compgen -W "nvi gpx kml csv pot" -- "${cur#--to=}"))
          return
          ;;
      esac
      case $prev in
        --log)
          _filedir
          return
          ;;
        --timestamp | --untitled | --input-encoding | --from | --to)
          return
          ;;
      esac
      if [[ $cur == -* ]]; then
        local options="--untitled=keep --untitled=skip --log= --timestamp= --force --explain --input-encoding= --from= --to= --help"
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
