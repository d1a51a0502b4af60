# bash completion for granvel-cli: its commands, each command's options, the convert types after --type,
# the settings after --set (KEY=), and files or folders where a command takes them.
# tests/cli/help_in_manual.cmake checks that every command, option, type and setting --help lists is here.
_granvel_cli() {
  local cur prev words cword
  _init_completion -n = || return

  local command="" i
  for ((i = 1; i < cword; i++)); do
    case "${words[i]}" in
      convert | settings | info | package | render | build | init) command="${words[i]}" && break ;;
    esac
  done
  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W 'convert settings info package render build init --help --version' -- "$cur"))
    return
  fi

  case "$prev" in
    --type)
      COMPREPLY=($(compgen -W 'bg 16x16 32x16 16x32 32x32 64x32 32x64 64x64 grp bin screen' -- "$cur"))
      return ;;
    --set)
      local settings='Select User Create TextOut Data_Type AutoTrim PAL_Fix_1bit WideMode Make_Wide PRG_Limit
        PRG_To_SCR PRG_To_MEM PRG_MultiByte PRG_ESCAPE PNG_Image UTF8_Text Share_Tiles TransparentColour
        Palette_File'
      COMPREPLY=($(compgen -W "$settings" -S = -- "$cur"))
      compopt -o nospace
      return ;;
    -o | --output)
      [[ $command == convert ]] && _filedir -d || _filedir
      return ;;
    --ini | --palette | --scr | --chr | --col | --tiles | --depfile)
      _filedir
      return ;;
    --name | --shared | --part | --size | --screen | --list-parts | --crop | -j | --jobs)
      return ;;
  esac

  if [[ $cur == -* ]]; then
    local options='-h --help'
    case "$command" in
      convert) options+=' -o --output --type --palette --ini --set --name -q --quiet --progress --no-progress
        --shared --tiles --col --tiles-fixed' ;;
      settings) options+=' --ini --set --save' ;;
      info) options+=' --json' ;;
      package) options+=' -o --output --name --palette --ini --set --part --size --screen --list-parts' ;;
      render) options+=' --scr --chr --col -o --output --crop' ;;
      build) options+=' -j --jobs --dry-run --watch --depfile' ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  [[ $command == init ]] && _filedir -d
  [[ $command == convert || $command == info || $command == package || $command == build ]] && _filedir
}
complete -F _granvel_cli granvel-cli
