#!/usr/bin/env bash
# Compares two builds of one Google Benchmark program and prints, per benchmark, the ratio of their CPU times.
#
#   bench/bench-compare.sh OLD NEW [FILTER] [ROUNDS]
#
# OLD and NEW are the two programs (say a build of an earlier commit, checked out with `git worktree add`, and
# build/bench/passwords_bench). On a shared machine one program's times drift by tens of percent from minute to
# minute, so the two run at the same time, each pinned to a CPU of its own, and swap CPUs every round; each
# round keeps the best of 10 repetitions of 0.1 s. The ratio is NEW / OLD: below 1 means NEW is faster. Printed
# are the ratio of the two best times over all rounds, and the median and range of the rounds' ratios.
# RUN=prefix starts both programs through a prefix (another C library's loader, for instance). Needs two CPUs,
# taskset and python3.
set -euo pipefail

old=$1
new=$2
filter=${3:-.}
rounds=${4:-8}
run=${RUN:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for round in $(seq "$rounds"); do
    cpu_old=$((round % 2))
    cpu_new=$((1 - cpu_old))
    for side in old new; do
        program=$old cpu=$cpu_old
        [ "$side" = new ] && program=$new cpu=$cpu_new
        # shellcheck disable=SC2086 # RUN may hold a command and its arguments
        taskset -c "$cpu" $run "$program" --benchmark_filter="$filter" --benchmark_min_time=0.1 \
            --benchmark_repetitions=10 --benchmark_format=json > "$work/$side-$round.json" 2> /dev/null &
    done
    wait
done

python3 - "$work" "$rounds" << 'EOF'
import json, statistics, sys

work, rounds = sys.argv[1], int(sys.argv[2])

def best_times(path):
    best = {}
    for run in json.load(open(path))["benchmarks"]:
        if run.get("run_type") == "iteration":
            name = run["run_name"]
            best[name] = min(best.get(name, float("inf")), run["cpu_time"])
    return best

old = [best_times(f"{work}/old-{r}.json") for r in range(1, rounds + 1)]
new = [best_times(f"{work}/new-{r}.json") for r in range(1, rounds + 1)]
print("| Benchmark | best OLD | best NEW | NEW / OLD | rounds: median (range) |")
print("|---|---|---|---|---|")
for name in new[0]:
    if name not in old[0]:
        continue
    a = [times[name] for times in old]
    b = [times[name] for times in new]
    ratios = sorted(y / x for x, y in zip(a, b))
    print(f"| {name} | {min(a):.4g} | {min(b):.4g} | {min(b) / min(a):.2f} | "
          f"{statistics.median(ratios):.2f} ({ratios[0]:.2f} to {ratios[-1]:.2f}) |")
EOF
