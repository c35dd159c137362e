#!/usr/bin/env bash
# Times tarvelle-cli against Debian's apg, pwgen and ipcalc and prints the wall-time ratios as a Markdown table.
#
#   passwords: `tarvelle-cli passwords --count N --mode pronounceable` against `apg -a 0` (pronounceable
#              algorithm) and `pwgen` (its default, pronounceable passwords), each making N passwords;
#   batch:     `tarvelle-cli ip - --json` over N generated addresses against `sipcalc -`, which reads the same
#              file from its standard input, one ADDRESS/PREFIX per line, and prints its CIDR report for each;
#              their runs take turns;
#   ip:        `tarvelle-cli ip -` over N generated addresses against ipcalc over the same addresses. ipcalc
#              takes one address per run and has no batch mode, so it runs once per address; it is timed over
#              the first IPCALC_SAMPLE addresses and that time is scaled to N (its runs are independent, so the
#              time grows linearly). For a like-for-like view the same sample is also timed with one
#              tarvelle-cli process per address.
#   before:    with BEFORE=path, another tarvelle-cli (a build of an earlier commit, say) runs `ip -j -` over
#              the same N addresses, its runs taking turns with this build's so that both meet the same load.
#
# Each time is the best of RUNS runs (output to /dev/null). Ratios are the other program's time divided by
# tarvelle-cli's: above 1 means tarvelle-cli is faster.
# Needs a built tarvelle-cli (CLI=path, or BUILD=dir, default build/) and some of `apt-get install sipcalc apg
# pwgen ipcalc`; the rows of a program that is not installed are left out.
set -euo pipefail
cd "$(dirname "$0")/.."

CLI=${CLI:-${BUILD:-build}/cli/tarvelle-cli}
COUNT=${COUNT:-100000}
IPCALC_SAMPLE=${IPCALC_SAMPLE:-1000}
RUNS=${RUNS:-3}
BEFORE=${BEFORE:-}

command -v "$CLI" > /dev/null || { echo "cli-compare: $CLI not found" >&2; exit 1; }
have() { command -v "$1" > /dev/null; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# COUNT addresses of every class with prefixes /8 to /30, the same for every program.
awk -v n="$COUNT" 'BEGIN { for (i = 1; i <= n; ++i)
    printf "%d.%d.%d.%d/%d\n", (i * 37) % 223 + 1, (i * 11) % 256, i % 256, (i * 7) % 256, 8 + i % 23 }' \
    > "$work/addresses"
head -n "$IPCALC_SAMPLE" "$work/addresses" > "$work/sample"

# Best wall time in seconds of RUNS runs of the given shell function.
best_of() {
    local best="" start end
    for ((run = 0; run < RUNS; ++run)); do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        if [[ -z $best || $((end - start)) -lt $best ]]; then best=$((end - start)); fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

cli_passwords() { "$CLI" passwords --count "$COUNT" --mode pronounceable; }
apg_passwords() { apg -q -a 0 -n "$COUNT" -m 8 -x 12; }
pwgen_passwords() { pwgen -1 -c -n 10 "$COUNT"; }
cli_ip_batch() { "$CLI" ip - < "$work/addresses"; }
cli_ip_each() { while read -r address; do "$CLI" ip "$address"; done < "$work/sample"; }
ipcalc_each() { while read -r address; do ipcalc -n -b "$address"; done < "$work/sample"; }

cli_ip_json() { "$CLI" ip - --json < "$work/addresses"; }
cli_ip_j() { "$CLI" ip -j - < "$work/addresses"; }
before_ip_j() { "$BEFORE" ip -j - < "$work/addresses"; }
sipcalc_batch() { sipcalc - < "$work/addresses"; }

# The runs must do the whole job, or the times mean nothing.
[[ $(cli_ip_batch | wc -l) -eq $COUNT ]] || { echo "cli-compare: tarvelle-cli ip - did not answer every line" >&2; exit 1; }
if have apg || have pwgen; then
    [[ $(cli_passwords | wc -l) -eq $COUNT ]] || { echo "cli-compare: tarvelle-cli did not make $COUNT passwords" >&2; exit 1; }
    t_cli_pw=$(best_of cli_passwords)
fi

# Best wall times in seconds of two shell functions, RUNS runs each, taking turns; prints "first second".
best_of_pair() {
    local best=("" "") start end k
    for ((run = 0; run < RUNS; ++run)); do
        for k in 0 1; do
            start=$(date +%s%N)
            if ((k == 0)); then "$1" > /dev/null; else "$2" > /dev/null; fi
            end=$(date +%s%N)
            if [[ -z ${best[k]} || $((end - start)) -lt ${best[k]} ]]; then best[k]=$((end - start)); fi
        done
    done
    awk -v a="${best[0]}" -v b="${best[1]}" 'BEGIN { printf "%.3f %.3f\n", a / 1e9, b / 1e9 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { r = a / b; printf(r < 100 ? "%.1f" : "%.0f", r) }'; }
scaled() { awk -v t="$1" -v n="$COUNT" -v s="$IPCALC_SAMPLE" 'BEGIN { printf "%.1f", t * n / s }'; }
per_second() { awk -v t="$1" -v n="$COUNT" 'BEGIN { printf "%.0f", n / t }'; }
version() { dpkg-query -W -f '${Version}' "$1" 2> /dev/null || echo "?"; }

echo "| Task | tarvelle-cli | Other program | Ratio (other / tarvelle-cli) |"
echo "|---|---|---|---|"
if have apg; then
    t_apg=$(RUNS=1 best_of apg_passwords)
    echo "| $COUNT pronounceable passwords | ${t_cli_pw} s | apg $(version apg) \`-a 0\`: ${t_apg} s | $(ratio "$t_apg" "$t_cli_pw") |"
fi
if have pwgen; then
    t_pwgen=$(RUNS=1 best_of pwgen_passwords)
    echo "| $COUNT pronounceable passwords | ${t_cli_pw} s | pwgen $(version pwgen): ${t_pwgen} s | $(ratio "$t_pwgen" "$t_cli_pw") |"
fi
if have sipcalc; then
    read -r t_cli_json t_sipcalc < <(best_of_pair cli_ip_json sipcalc_batch)
    echo "| $COUNT addresses, \`ip - --json\` | ${t_cli_json} s ($(per_second "$t_cli_json") lines/s) | sipcalc $(version sipcalc) \`-\` on the same file: ${t_sipcalc} s ($(per_second "$t_sipcalc") lines/s) | $(ratio "$t_sipcalc" "$t_cli_json") |"
fi
if [[ -n $BEFORE ]]; then
    command -v "$BEFORE" > /dev/null || { echo "cli-compare: $BEFORE not found" >&2; exit 1; }
    cmp -s <(before_ip_j) <(cli_ip_j) || echo "cli-compare: the two builds' ip -j - outputs differ" >&2
    read -r t_before t_after < <(best_of_pair before_ip_j cli_ip_j)
    echo "| $COUNT addresses, \`ip -j -\` | ${t_after} s ($(per_second "$t_after") lines/s) | $BEFORE: ${t_before} s ($(per_second "$t_before") lines/s) | $(ratio "$t_before" "$t_after") |"
fi
if have ipcalc; then
    t_cli_ip=$(best_of cli_ip_batch)
    t_cli_each=$(RUNS=1 best_of cli_ip_each)
    t_ipcalc=$(RUNS=1 best_of ipcalc_each)
    t_ipcalc_all=$(scaled "$t_ipcalc")
    echo "| $COUNT addresses, \`ip -\` | ${t_cli_ip} s | ipcalc $(version ipcalc), one run per address: ${t_ipcalc_all} s (${t_ipcalc} s for $IPCALC_SAMPLE, scaled) | $(ratio "$t_ipcalc_all" "$t_cli_ip") |"
    echo "| $IPCALC_SAMPLE addresses, one process each | ${t_cli_each} s | ipcalc: ${t_ipcalc} s | $(ratio "$t_ipcalc" "$t_cli_each") |"
fi
