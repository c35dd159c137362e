#!/usr/bin/env bash
# Runs hardening-check on the given programs and fails when one lacks a protection that this architecture and
# release give a program built with Debian's build flags (dpkg-buildflags with hardening=+all, as
# cmake/Hardening.cmake reads them): PIE, the stack protector, fortified calls and full RELRO everywhere;
# control-flow protection (x86) and branch protection (arm64) only where the release can give them.
#   scripts/check-hardening.sh PROGRAM...
set -euo pipefail
flags=" $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) "
# hardening-check --help exits with 1.
help=$(hardening-check --help 2>&1 || true)
# The linker marks a program for control-flow or branch protection only when every object in it is marked, the
# C library's start-up code included. Debian 13 gives -fcf-protection on amd64, but its start-up code is not
# marked, so no program there is; and its hardening-check asks every architecture for arm64's marking.
startup=$(readelf -n "$(c++ -print-file-name=Scrt1.o)" 2>/dev/null || true)
not_asked=()
# not_asked_unless OPTION FLAG MARK: hardening-check's --noOPTION, unless the build flags hold FLAG and the
# start-up code MARK (readelf's words, which are hardening-check's too).
not_asked_unless() {
    local option=$1 flag=$2 mark=$3
    [[ $help == *"--no$option"* ]] || return 0
    if [[ $flags == *" $flag "* || ($flags == *" $flag="* && $flags != *" $flag=none "*) ]] &&
        [[ $startup == *"$mark"* ]]; then
        return 0
    fi
    not_asked+=("--no$option")
}
not_asked_unless cfprotection -fcf-protection "x86 feature: IBT, SHSTK"
not_asked_unless branchprotection -mbranch-protection "AArch64 feature: BTI, PAC"
echo "check-hardening: not asked on $(dpkg --print-architecture), where the build flags and the C library's start-up" \
    "code give no such protection: ${not_asked[*]:-none}"
hardening-check "${not_asked[@]}" "$@"
