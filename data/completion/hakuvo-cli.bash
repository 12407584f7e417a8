# bash completion for hakuvo-cli                               -*- shell-script -*-
#
# The commands and their options are read from "hakuvo-cli --help", so that a new command or
# option completes without a change here; only which files each argument takes is known here.

# Prints the commands, or with a command name the options its usage line names.
_hakuvo_cli_help()
{
    local program=$1 command=${2-}
    local line
    # A command's line is indented by two spaces; its summary below it by more.
    "$program" --help 2>/dev/null | while IFS= read -r line; do
        [[ $line =~ ^\ \ ([a-z][a-z0-9-]*)(\ (.*))?$ ]] || continue
        if [[ -z $command ]]; then
            printf '%s\n' "${BASH_REMATCH[1]}"
        elif [[ ${BASH_REMATCH[1]} == "$command" ]]; then
            grep -oE -- '--[a-z][a-z0-9-]*' <<<"${BASH_REMATCH[3]}" | sort -u
        fi
    done
}

_hakuvo_cli()
{
    local cur prev words cword
    _init_completion || return

    local diaries='@(hkvj|hkvw|hkvb)'
    local tracks='@(nma|nmea|log|gpx|kml|fit|tcx)'
    local photos='@(jpg|jpeg|jpe)'

    # The command is the first word after the program that is not an option.
    local command="" i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} != -* ]]; then
            command=${words[i]}
            break
        fi
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_hakuvo_cli_help "${words[0]}")" -- "$cur"))
        fi
        return
    fi

    case $prev in
        --period)
            COMPREPLY=($(compgen -W 'day month year act' -- "$cur"))
            return
            ;;
        --mode)
            COMPREPLY=($(compgen -W 'JOGGING WALKING BICYCLE' -- "$cur"))
            return
            ;;
        --date)
            [[ $command == import ]] && COMPREPLY=($(compgen -W 'file today' -- "$cur"))
            return
            ;;
        --kind2)
            COMPREPLY=($(compgen -W 'none' -- "$cur"))
            return
            ;;
        --out)
            _filedir -d
            return
            ;;
        --category | --kind | --term | --from | --to | --size | --start | --end)
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_hakuvo_cli_help "${words[0]}" "$command")" -- "$cur"))
        return
    fi

    # The positional argument being completed, counted from 1 after the command; the values of
    # options do not count.
    local position=0
    for ((i = i + 1; i < cword; i++)); do
        case ${words[i]} in
            --period | --mode | --date | --kind | --kind2 | --out | --category | --term | --from | --to | \
                --size | --start | --end) ((i++)) ;;
            -*) ;;
            *) ((position++)) ;;
        esac
    done
    ((position++))

    case $command in
        list | extract | graph | geotag)
            ((position == 1)) && _filedir "$diaries"
            ;;
        import)
            if ((position == 1)); then
                _filedir "$diaries"
            else
                _filedir
            fi
            ;;
        resave)
            ((position <= 2)) && _filedir "$diaries"
            ;;
        track)
            ((position == 1)) && _filedir "$tracks"
            ;;
        exif | thumbnail)
            _filedir "$photos"
            ;;
        *)
            _filedir
            ;;
    esac
} &&
    complete -F _hakuvo_cli hakuvo-cli

# ex: filetype=sh
