#!/usr/bin/env python3
"""Start-up cost of Tarvelle against a bare Qt window of the same size with four tabs.

Builds both probes, then starts each many times in turn (offscreen, so no display is needed); each run shows
its window, paints it once and quits. Reports the median wall time and the median peak resident memory of
each, and the program's figures as ratios of the bare window's.

usage: bench/startup.py [BUILD_DIR] [RUNS]
"""
import os
import statistics
import subprocess
import sys
import time


def run_once(path):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    start = time.perf_counter()
    proc = subprocess.Popen([path], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{path} exited with status {status}")
    return wall, usage.ru_maxrss  # seconds, KiB


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    targets = {"tarvelle": "tarvelle_startup_probe", "bare window": "bare_window_probe"}
    subprocess.run(["cmake", "--build", build, "--target", *targets.values()], check=True,
                   stdout=subprocess.DEVNULL)
    paths = {name: os.path.join(build, "bench", target) for name, target in targets.items()}
    for path in paths.values():  # warm the file cache and the font cache
        run_once(path)
    samples = {name: ([], []) for name in paths}
    for _ in range(runs):
        for name, path in paths.items():
            wall, rss = run_once(path)
            samples[name][0].append(wall)
            samples[name][1].append(rss)
    medians = {name: (statistics.median(w), statistics.median(m)) for name, (w, m) in samples.items()}
    # Each run of the program is paired with the bare window's run next to it, so a slow spell of the
    # machine weighs on both sides of a ratio.
    paired = statistics.median(a / b for a, b in zip(samples["tarvelle"][0], samples["bare window"][0]))
    for name, (wall, rss) in medians.items():
        print(f"{name:12} start-up {wall * 1000:7.1f} ms   peak memory {rss / 1024:6.1f} MiB   (median of {runs})")
    (app_wall, app_rss), (bare_wall, bare_rss) = medians["tarvelle"], medians["bare window"]
    print(f"ratio        wall time {app_wall / bare_wall:.2f}x (of medians), {paired:.2f}x (median of paired runs)"
          f"   peak memory {app_rss / bare_rss:.2f}x   (target: within 1.3x)")


if __name__ == "__main__":
    main()
