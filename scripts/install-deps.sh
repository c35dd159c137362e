#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages the build, the tests and the program need, and only the missing ones.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # The screen reader test (tests/app/screen_reader_bus.py): the window on a display and an accessibility bus
    # of its own, read with pyatspi (for Debian's own python3) and typed into with xdotool.
    xvfb xdotool dbus at-spi2-core python3-pyatspi
    fonts-liberation clang-format desktop-file-utils dpkg-dev file
    clang
    nlohmann-json3-dev sipcalc python3
    scdoc lintian devscripts appstream
)
# nlohmann-json3-dev: the independent JSON parser of the CLI tests; sipcalc: bench/cli-compare.sh's batch
# comparison; python3: the ip differential test against Python's ipaddress.

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# libFuzzer's runtime (libclang_rt.*) of clang N is the package libclang-rt-N-dev on Debian 12 and later, where
# clang only recommends it; older releases ship it with clang itself. N is the major version of the clang on
# PATH or, before clang is installed, of the clang-N that the package clang depends on (14 on Debian 12, 19 on
# Debian 13). Prints nothing when neither tells.
clang_runtime() {
    local major=""
    if command -v clang >/dev/null; then
        major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
    else
        major=$(apt-cache show --no-all-versions clang 2>/dev/null |
            sed -n 's/^Depends:.*\bclang-\([0-9][0-9]*\)\b.*/\1/p' | head -n 1)
    fi
    [ -z "$major" ] || echo "libclang-rt-$major-dev"
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
# Wanted only where the archive has it: clang's runtime, named from the clang on PATH or, when clang is still to
# be installed, once the package lists are read.
unsure=()
if command -v clang >/dev/null; then
    runtime=$(clang_runtime)
    [ -z "$runtime" ] || installed "$runtime" || unsure+=("$runtime")
fi

[ ${#missing[@]} -eq 0 ] && [ ${#unsure[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
if ! command -v clang >/dev/null; then
    runtime=$(clang_runtime)
    [ -z "$runtime" ] || unsure+=("$runtime")
fi
for p in "${unsure[@]}"; do
    if apt-cache show "$p" >/dev/null 2>&1; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
