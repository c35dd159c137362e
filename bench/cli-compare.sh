#!/usr/bin/env bash
# Times tarvelle-cli against Debian's apg, pwgen and ipcalc and prints the wall-time ratios as a Markdown table.
#
#   passwords: `tarvelle-cli passwords --count N --mode pronounceable` against `apg -a 0` (pronounceable
#              algorithm) and `pwgen` (its default, pronounceable passwords), each making N passwords;
#   ip:        `tarvelle-cli ip -` over N generated addresses against ipcalc over the same addresses. ipcalc
#              takes one address per run and has no batch mode, so it runs once per address; it is timed over
#              the first IPCALC_SAMPLE addresses and that time is scaled to N (its runs are independent, so the
#              time grows linearly). For a like-for-like view the same sample is also timed with one
#              tarvelle-cli process per address.
#
# Each time is the best of RUNS runs (output to /dev/null). Ratios are the other program's time divided by
# tarvelle-cli's: above 1 means tarvelle-cli is faster.
# Needs a built tarvelle-cli (CLI=path, or BUILD=dir, default build/) and `apt-get install apg pwgen ipcalc`.
set -euo pipefail
cd "$(dirname "$0")/.."

CLI=${CLI:-${BUILD:-build}/cli/tarvelle-cli}
COUNT=${COUNT:-100000}
IPCALC_SAMPLE=${IPCALC_SAMPLE:-1000}
RUNS=${RUNS:-3}

for tool in "$CLI" apg pwgen ipcalc; do
    command -v "$tool" > /dev/null || { echo "cli-compare: $tool not found" >&2; exit 1; }
done

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

# The runs must do the whole job, or the times mean nothing.
[[ $(cli_passwords | wc -l) -eq $COUNT ]] || { echo "cli-compare: tarvelle-cli did not make $COUNT passwords" >&2; exit 1; }
[[ $(cli_ip_batch | wc -l) -eq $COUNT ]] || { echo "cli-compare: tarvelle-cli ip - did not answer every line" >&2; exit 1; }

t_cli_pw=$(best_of cli_passwords)
t_apg=$(RUNS=1 best_of apg_passwords)
t_pwgen=$(RUNS=1 best_of pwgen_passwords)
t_cli_ip=$(best_of cli_ip_batch)
t_cli_each=$(RUNS=1 best_of cli_ip_each)
t_ipcalc=$(RUNS=1 best_of ipcalc_each)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { r = a / b; printf(r < 100 ? "%.1f" : "%.0f", r) }'; }
scaled() { awk -v t="$1" -v n="$COUNT" -v s="$IPCALC_SAMPLE" 'BEGIN { printf "%.1f", t * n / s }'; }
version() { dpkg-query -W -f '${Version}' "$1" 2> /dev/null || echo "?"; }

t_ipcalc_all=$(scaled "$t_ipcalc")
echo "| Task | tarvelle-cli | Other program | Ratio (other / tarvelle-cli) |"
echo "|---|---|---|---|"
echo "| $COUNT pronounceable passwords | ${t_cli_pw} s | apg $(version apg) \`-a 0\`: ${t_apg} s | $(ratio "$t_apg" "$t_cli_pw") |"
echo "| $COUNT pronounceable passwords | ${t_cli_pw} s | pwgen $(version pwgen): ${t_pwgen} s | $(ratio "$t_pwgen" "$t_cli_pw") |"
echo "| $COUNT addresses, \`ip -\` | ${t_cli_ip} s | ipcalc $(version ipcalc), one run per address: ${t_ipcalc_all} s (${t_ipcalc} s for $IPCALC_SAMPLE, scaled) | $(ratio "$t_ipcalc_all" "$t_cli_ip") |"
echo "| $IPCALC_SAMPLE addresses, one process each | ${t_cli_each} s | ipcalc: ${t_ipcalc} s | $(ratio "$t_ipcalc" "$t_cli_each") |"
