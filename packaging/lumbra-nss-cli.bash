# bash completion for lumbra-nss-cli: the commands, then the options of the program and of the
# command typed, read from the program's own --help so that they never drift from it.

_lumbra_nss_cli_commands() {
    "$1" --help 2>/dev/null | sed -n '/^Commands:/,$p' | awk 'NR > 1 && /^  [a-z]/ { print $1 }'
}

_lumbra_nss_cli() {
    local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands command="" i
    commands=" $(_lumbra_nss_cli_commands "$program" | tr '\n' ' ') "
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ $commands == *" ${COMP_WORDS[i]} "* ]] && { command=${COMP_WORDS[i]}; break; }
    done
    case $prev in
        --access-mode) mapfile -t COMPREPLY < <(compgen -W "N F" -- "$cur"); return ;;
        --duplicates) mapfile -t COMPREPLY < <(compgen -W "rename overwrite skip" -- "$cur"); return ;;
        --what) mapfile -t COMPREPLY < <(compgen -W "metadata files used" -- "$cur"); return ;;
        --image | --mapfile | --snapshot | --out | --report | --drive | --from-list)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur"); return ;;
    esac
    if [[ $cur == -* ]]; then
        local options
        options=$({ "$program" --help; [[ -n $command ]] && "$program" "$command" --help; } 2>/dev/null |
            grep -o -- '--[a-z][a-z-]*' | sort -u)
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}

complete -F _lumbra_nss_cli lumbra-nss-cli
