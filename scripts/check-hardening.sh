#!/usr/bin/env bash
# Runs hardening-check on the given programs and fails when one lacks a protection that Debian's build flags
# (dpkg-buildflags with hardening=+all, as cmake/Hardening.cmake reads them) give on this architecture and
# release: PIE, the stack protector, fortified calls and full RELRO everywhere, and control-flow protection
# (-fcf-protection, x86) or branch protection (-mbranch-protection, arm64) only where the flags hold them.
# Debian 12 hands out neither; Debian 13 gives -fcf-protection on amd64, and its hardening-check asks every
# architecture for the arm64-only branch protection.
#   scripts/check-hardening.sh PROGRAM...
set -euo pipefail
flags=" $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS) "
not_asked=()
case $flags in
*" -fcf-protection=none "*) not_asked+=(--nocfprotection) ;;
*" -fcf-protection "* | *" -fcf-protection="*) ;;
*) not_asked+=(--nocfprotection) ;;
esac
# Only a hardening-check that knows branch protection tests it.
if hardening-check --help 2>&1 | grep -q -- --nobranchprotection; then
    case $flags in
    *" -mbranch-protection=none "*) not_asked+=(--nobranchprotection) ;;
    *" -mbranch-protection="*) ;;
    *) not_asked+=(--nobranchprotection) ;;
    esac
fi
echo "check-hardening: not asked on $(dpkg --print-architecture), as the build flags do not give them: ${not_asked[*]:-none}"
hardening-check "${not_asked[@]}" "$@"
