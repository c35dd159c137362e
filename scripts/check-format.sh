#!/usr/bin/env bash
# Fails when a C++ source of the project differs from its clang-format form; with --fix, rewrites the sources
# into that form instead.
#   scripts/check-format.sh [--fix]
# Each major release of clang-format lays out some constructs its own way, and no one text satisfies both 14
# and 19, so the sources are held to the release .clang-format was written for. Under any other the check is
# skipped with one line, and --fix refuses. CLANG_FORMAT names another program (clang-format-14).
set -euo pipefail
cd "$(dirname "$0")/.."
wanted=14
tool=${CLANG_FORMAT:-clang-format}
found=$("$tool" --version 2>/dev/null | sed -n 's/.*clang-format version \([0-9][0-9]*\).*/\1/p' | head -n 1 || true)
if [ "$found" != "$wanted" ]; then
    if [ "${1:-}" = --fix ]; then
        echo "make format: needs clang-format $wanted, found ${found:-none} ($tool); give another with CLANG_FORMAT=PROGRAM" >&2
        exit 1
    fi
    echo "format-check: skipped, needs clang-format $wanted and found ${found:-none} ($tool)"
    exit 0
fi
files=$(git ls-files -- '*.cpp' '*.h' 2>/dev/null || true)
[ -n "$files" ] || exit 0
if [ "${1:-}" = --fix ]; then
    echo "make format: clang-format $wanted"
    # shellcheck disable=SC2086
    "$tool" -i $files
else
    # shellcheck disable=SC2086
    "$tool" --dry-run --Werror $files
fi
