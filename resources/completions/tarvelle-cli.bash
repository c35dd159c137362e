# bash completion for tarvelle-cli                                 -*- shell-script -*-
# Installed as share/bash-completion/completions/tarvelle-cli. The lists below follow `tarvelle-cli --help` and
# `tarvelle-cli COMMAND --help`; `ctest -R cli_docs` in the build folder says when an option is missing here.

_tarvelle_cli_commands="bandwidth ip passwords"
_tarvelle_cli_global="-h --help --version"
_tarvelle_cli_bandwidth_options="--rate-unit --size-unit --time-unit --tolerance --rate --size --time --common
    --solve -j --json -h --help"
_tarvelle_cli_ip_options="-j --json -h --help"
_tarvelle_cli_ip_subcommands="split range merge"
_tarvelle_cli_split_options="-p --prefix -c --count -l --limit -a --all -j --json -h --help"
_tarvelle_cli_passwords_options="-n --count --length --upper --lower --digits --other --other-chars
    --exclude-similar --mode --seed --strength -j --json -h --help"
# Unit and rate names hold blanks, so they are kept one per line.
_tarvelle_cli_rate_units='bps
kbps
Mbps
Gbps
kbit/s
Mbit/s
Gbit/s
kB/s
MB/s
GB/s
KiB/s
MiB/s
GiB/s
Bps
Kbps (b10)
KBps (b10)
Mbps (b10)
MBps (b10)
Gbps (b10)
GBps (b10)
Kbps (b2)
KBps (b2)
Mbps (b2)
MBps (b2)
Gbps (b2)
GBps (b2)'
_tarvelle_cli_size_units='bits
B
kB
MB
GB
KiB
MiB
GiB
kbit
Mbit
Gbit
bytes
Kb (b10)
KB (b10)
Mb (b10)
MB (b10)
Gb (b10)
GB (b10)
Kb (b2)
KB (b2)
Mb (b)
MB (b2)
Gb (b2)
GB (b2)'
_tarvelle_cli_time_units='s
h
d
sec
min
hrs
days'
_tarvelle_cli_common_rates='28.8kbps
33.6kbps
56kbps
1-ch ISDN
2-ch ISDN
208 Kbps
256 Kbps
384 Kbps
512 Kbps
768 Kbps
1024 Kbps
T-1 / DS-1
T-2 / DS-2
T-3 / DS-3
OC-1
OC-3
OC-12
OC-48
OC-192'
_tarvelle_cli_solve="rate size time"
_tarvelle_cli_modes="random easy pronounceable unpronounceable 0 1 2 3"

# Offers the lines of $1 that start with the word being completed, quoted for the shell.
_tarvelle_cli_lines()
{
    local cur=$1 list=$2 line
    # What has been typed so far, without the quote it may start with.
    cur=${cur#[\"\']}
    local IFS=$'\n'
    for line in $list; do
        [[ $line == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$line")")
    done
}

_tarvelle_cli()
{
    # Plain COMP_WORDS, so the completion works without the bash-completion package too.
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} cword=$COMP_CWORD
    local -a words=("${COMP_WORDS[@]}")
    COMPREPLY=()

    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            bandwidth | ip | passwords)
                command=${words[i]}
                break
                ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$_tarvelle_cli_commands $_tarvelle_cli_global" -- "$cur"))
        return
    fi

    case $command in
        bandwidth)
            case $prev in
                --rate-unit) _tarvelle_cli_lines "$cur" "$_tarvelle_cli_rate_units"; return ;;
                --size-unit) _tarvelle_cli_lines "$cur" "$_tarvelle_cli_size_units"; return ;;
                --time-unit) _tarvelle_cli_lines "$cur" "$_tarvelle_cli_time_units"; return ;;
                --common) _tarvelle_cli_lines "$cur" "$_tarvelle_cli_common_rates"; return ;;
                --solve) COMPREPLY=($(compgen -W "$_tarvelle_cli_solve" -- "$cur")); return ;;
                --tolerance | --rate | --size | --time) return ;;
            esac
            COMPREPLY=($(compgen -W "$_tarvelle_cli_bandwidth_options" -- "$cur"))
            ;;
        ip)
            # Addresses and masks are the user's own; options, "-" (standard input) and the subcommands are offered.
            local sub="" j
            for ((j = i + 1; j < cword; j++)); do
                case ${words[j]} in split | range | merge) sub=${words[j]}; break ;; esac
            done
            case $sub in
                split)
                    case $prev in -p | --prefix | -c | --count | -l | --limit) return ;; esac
                    [[ $cur == -* ]] && COMPREPLY=($(compgen -W "$_tarvelle_cli_split_options" -- "$cur"))
                    ;;
                range) [[ $cur == -* ]] && COMPREPLY=($(compgen -W "$_tarvelle_cli_ip_options" -- "$cur")) ;;
                merge) [[ $cur == -* ]] && COMPREPLY=($(compgen -W "$_tarvelle_cli_ip_options -" -- "$cur")) ;;
                *)
                    if [[ $cur == -* ]]; then
                        COMPREPLY=($(compgen -W "$_tarvelle_cli_ip_options -" -- "$cur"))
                    else
                        COMPREPLY=($(compgen -W "$_tarvelle_cli_ip_subcommands" -- "$cur"))
                    fi
                    ;;
            esac
            ;;
        passwords)
            case $prev in
                --mode) COMPREPLY=($(compgen -W "$_tarvelle_cli_modes" -- "$cur")); return ;;
                --upper | --lower | --digits | --other) COMPREPLY=($(compgen -W "off" -- "$cur")); return ;;
                -n | --count | --length | --other-chars | --seed) return ;;
            esac
            COMPREPLY=($(compgen -W "$_tarvelle_cli_passwords_options" -- "$cur"))
            ;;
    esac
} &&
    complete -F _tarvelle_cli tarvelle-cli
