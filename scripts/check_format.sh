#!/usr/bin/env bash
# Checks that every C++ source is laid out as .clang-format says: lists the files clang-format
# would change and exits 1 when there are any. With --apply it formats them in place instead.
# The version is pinned: another clang-format lays some constructs out differently.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
FORMAT=clang-format-14
cd "$ROOT"

if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
fi

if [ "${1:-}" = "--apply" ]; then
    "$FORMAT" -i --style=file "${files[@]}"
    exit 0
fi

# One warning per place to change, each starting "file:line:column: error:".
mapfile -t unformatted < <("$FORMAT" --dry-run --Werror --style=file "${files[@]}" 2>&1 \
    | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted (scripts/check_format.sh --apply formats them):"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "All ${#files[@]} C++ files are formatted."
