#!/usr/bin/env bash
# Checks that the C++ sources (program, tests, tools, benchmarks) are as clang-format writes them
# with .clang-format; fails and names the files that differ, with the command that fixes them.
# Usage: check-format.sh [--fix] [FILE...]   --fix rewrites the files in place.
# Without FILEs: every .cpp and .h that git tracks (never build folders or generated files).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

fix=0
if [ "${1:-}" = "--fix" ]; then
    fix=1
    shift
fi

# Each clang-format release formats a little differently; the tree is kept in version 14's style.
formatter=${CLANG_FORMAT:-}
if [ -z "$formatter" ]; then
    for candidate in clang-format-14 clang-format; do
        if command -v "$candidate" > /dev/null; then
            formatter=$candidate
            break
        fi
    done
fi
if [ -z "$formatter" ]; then
    echo "clang-format is not installed: bash scripts/setup.sh --ci" >&2
    exit 2
fi
version=$("$formatter" --version | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
if [ "$version" != "14" ]; then
    echo "warning: $formatter is version ${version:-unknown}; the tree is formatted with clang-format 14" >&2
fi

if [ $# -gt 0 ]; then
    files=("$@")
elif git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o -path '*/node_modules' -prune -o \
                             \( -name '*.cpp' -o -name '*.h' \) -type f -print | sed 's|^\./||' | sort)
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "no C++ files to check" >&2
    exit 2
fi

if [ $fix -eq 1 ]; then
    printf '%s\0' "${files[@]}" | xargs -0 -n 16 -P "$(nproc)" "$formatter" -i --style=file
    echo "formatted ${#files[@]} files"
    exit 0
fi

# One process per file and core; a file is listed when clang-format's output differs from it.
export formatter
mapfile -t differ < <(printf '%s\0' "${files[@]}" | xargs -0 -n 1 -P "$(nproc)" sh -c \
    '"$formatter" --style=file "$1" | cmp -s - "$1" || printf "%s\n" "$1"' sh | sort)
if [ ${#differ[@]} -eq 0 ]; then
    echo "format check: ${#files[@]} files as clang-format writes them"
    exit 0
fi
# The first differences, so that the log shows what is meant.
shown=0
for f in "${differ[@]}"; do
    [ $shown -ge 3 ] && break
    "$formatter" --style=file "$f" | diff -u --label "$f" --label "$f (formatted)" "$f" - | head -n 40 || true
    shown=$((shown + 1))
done
echo
echo "format check: ${#differ[@]} of ${#files[@]} files differ from clang-format's output:"
printf '  %s\n' "${differ[@]}"
if [ ${#differ[@]} -le 10 ]; then
    echo "Fix them with:  bash scripts/check-format.sh --fix ${differ[*]}"
else
    echo "Fix them with:  bash scripts/check-format.sh --fix"
fi
exit 1
