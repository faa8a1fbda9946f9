# bash completion for dashcfg: its commands, each command's options, the fields that set takes,
# and folders or files for the rest.

_dashcfg() {
    local cur prev words cword
    _init_completion -n = || return

    local commands="show set export apply diff reset clock check recover help"
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    local command=${words[1]}
    local options="--help"
    case $command in
        show) options+=" --json" ;;
        set | apply | reset) options+=" --dry-run --force --json" ;;
        export | recover) options+=" --force --json" ;;
        diff | check) options+=" --json" ;;
        clock) options+=" --at --repeated --clear --dry-run --force --json" ;;
        help)
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
            return
            ;;
    esac

    case $prev in
        --at)
            COMPREPLY=($(compgen -W "now" -- "$cur"))
            return
            ;;
        --repeated)
            COMPREPLY=($(compgen -W "first second" -- "$cur"))
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # set: after the card folder come FIELD=VALUE arguments.
    if [[ $command == set ]]; then
        local positional=0 i
        for ((i = 2; i < cword; i++)); do [[ ${words[i]} != -* ]] && ((positional++)); done
        if ((positional >= 1)); then
            local fields
            fields=$(dashcfg help set 2>/dev/null | sed -n 's/^  \([a-z0-9_]*\): .*/\1=/p')
            compopt -o nospace 2>/dev/null
            COMPREPLY=($(compgen -W "$fields" -- "$cur"))
            return
        fi
    fi

    case $command in
        diff | apply) _filedir ;;
        *) _filedir -d ;;
    esac
}
complete -F _dashcfg dashcfg
