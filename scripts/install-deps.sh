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
# libFuzzer's runtime has its own package on Debian 12; older releases ship it with clang itself.
optional=(libclang-rt-14-dev)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
unsure=()
for p in "${optional[@]}"; do
    installed "$p" || unsure+=("$p")
done

[ ${#missing[@]} -eq 0 ] && [ ${#unsure[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# An optional package is wanted only where the archive has it.
for p in "${unsure[@]}"; do
    if apt-cache show "$p" >/dev/null 2>&1; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
