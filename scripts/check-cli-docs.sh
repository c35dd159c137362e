#!/usr/bin/env bash
# Fails when the manual page or a shell completion of tarvelle-cli misses a command, an option or a JSON key
# that the program itself has. What the program has is read from its own --help texts (commands and options)
# and from the JSON of a few sample runs (keys), so a new option or key shows up here until it is documented.
#   scripts/check-cli-docs.sh TARVELLE_CLI MAN_PAGE_SCD COMPLETIONS_DIR
set -euo pipefail

cli=$1
man=$2
completions=$3
bash_file=$completions/tarvelle-cli.bash
zsh_file=$completions/_tarvelle-cli
fish_file=$completions/tarvelle-cli.fish

# scdoc writes a literal _ or * as \_ or \*.
man_text=$(sed 's/\\\([_*]\)/\1/g' "$man")
missing=0
miss() {
    echo "check-cli-docs: $1" >&2
    missing=1
}
# has FILE-TEXT REGEX: the text matches the extended regular expression.
has() {
    grep -qE -- "$2" <<<"$1"
}

# The commands are the lines of `tarvelle-cli --help` that start with two blanks and a lowercase word, above
# its examples.
commands=$("$cli" --help | sed -nE '/^examples:/q; s/^  ([a-z][a-z-]*) .*/\1/p')
[ -n "$commands" ] || miss "no commands found in tarvelle-cli --help"
for command in $commands; do
    has "$man_text" "^# COMMAND: $command\$" || miss "the manual page has no section \"# COMMAND: $command\""
    for file in "$bash_file" "$zsh_file" "$fish_file"; do
        has "$(cat "$file")" "(^|[^a-z-])$command([^a-z-]|\$)" || miss "$file does not name the command $command"
    done
done

# Every --long and -s option word of a --help text.
options_of() {
    "$cli" "$@" --help | grep -oE -- '(^|[][ ,|(])--?[a-zA-Z][a-zA-Z-]*' | sed -E 's/^[][ ,|(]//' | sort -u
}
check_option() {
    local option=$1 name=${1##*-}
    [ "${option#--}" != "$option" ] && name=${option#--}
    has "$man_text" "\*$option\*" || miss "the manual page does not describe $option (as *$option*)"
    has "$(cat "$bash_file")" "(^|[^a-zA-Z-])$option([^a-zA-Z-]|\$)" || miss "$bash_file does not offer $option"
    has "$(cat "$zsh_file")" "(^|[^a-zA-Z-])$option([^a-zA-Z-]|\$)" || miss "$zsh_file does not offer $option"
    if [ "${option#--}" != "$option" ]; then
        has "$(cat "$fish_file")" "-l $name( |\$)" || miss "$fish_file does not offer $option (-l $name)"
    else
        has "$(cat "$fish_file")" "-s $name( |\$)" || miss "$fish_file does not offer $option (-s $name)"
    fi
}
for option in $(options_of); do
    check_option "$option"
done
for command in $commands; do
    for option in $(options_of "$command"); do
        check_option "$option"
    done
done

# JSON keys of sample runs; an error record of `ip -` too. Edit these runs when the options change.
json=$(
    "$cli" ip 192.168.1.10/24 --json
    "$cli" ip 2001:db8::1 --json
    "$cli" bandwidth --size 100 --rate 8 --solve time --json
    "$cli" passwords --seed 1 --count 1 --json 2>/dev/null
    "$cli" passwords --strength --json
    printf 'not-an-address\n' | "$cli" ip - --json 2>/dev/null || true
) || miss "a sample run with --json failed (see the runs at the end of $0)"
for key in $(grep -oE '"[A-Za-z_][A-Za-z0-9_]*": ' <<<"$json" | tr -d '": ' | sort -u); do
    has "$man_text" "\*$key\*" || miss "the manual page does not describe the JSON key $key (as *$key*)"
done

exit $missing
