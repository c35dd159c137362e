#!/usr/bin/env bash
# Runs each named fuzzer for the given number of seconds, starting from its committed corpus under
# fuzz/corpus. New inputs go to BUILD/corpus/NAME, never into the repository; an input that breaks a
# property or crashes is saved to BUILD/findings and fails the run.
set -euo pipefail
build=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for name in "$@"; do
    fuzzer="$build/fuzz/${name}_fuzz"
    seeds="$root/fuzz/corpus/$name"
    work="$build/corpus/$name"
    mkdir -p "$work" "$seeds" "$build/findings"
    echo "== $name (${seconds}s)"
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$name-" "$work" "$seeds" >"$build/$name.log" 2>&1; then
        tail -n 40 "$build/$name.log"
        echo "$name: finding saved under $build/findings"
        status=1
    else
        grep -E "^stat::number_of_executed_units|^Done" "$build/$name.log" || true
    fi
done
exit $status
