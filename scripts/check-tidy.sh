#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the program's sources, with the compile commands of
# a build folder that has been built (the forms' ui_ headers and moc files must exist); fails on
# any finding. Tests, tools, benchmarks and build helpers are not checked.
# Usage: check-tidy.sh [BUILD_DIR] [--changed [BASE]]
#   --changed  only the sources changed since the merge base with BASE (default main), and those
#              whose header changed: a quick look before landing; CI checks all of them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$here/build
changed=0
base=main
while [ $# -gt 0 ]; do
    case $1 in
    --changed)
        changed=1
        if [ $# -gt 1 ] && [ "${2#-}" = "$2" ] && ! [ -d "$2" ]; then
            base=$2
            shift
        fi
        ;;
    -*) echo "unknown option: $1" >&2; exit 2 ;;
    *) dir=$(cd "$1" && pwd) ;;
    esac
    shift
done

tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
if [ -z "$tidy" ] || [ -z "$runner" ]; then
    echo "clang-tidy is not installed: bash scripts/setup.sh --ci" >&2
    exit 2
fi
if ! [ -f "$dir/compile_commands.json" ]; then
    echo "no $dir/compile_commands.json: configure and build first (bash scripts/build.sh $dir)" >&2
    exit 2
fi

# The program's folders: those the top CMakeLists.txt adds, but for the resources' build helpers,
# the developer tools, the tests and the benchmarks.
layers=$(sed -n 's/^ *add_subdirectory( *\([A-Za-z0-9_]*\) *).*/\1/p' "$here/CMakeLists.txt" |
             grep -vxE 'resources|tools|tests|bench' | paste -sd'|')
mapfile -t sources < <(python3 - "$dir/compile_commands.json" "$here" "$layers" <<'PY'
import json, re, sys
database, root, layers = sys.argv[1:]
pattern = re.compile('^' + re.escape(root) + '/(' + layers + r')/.*\.cpp$')
print('\n'.join(sorted({e['file'] for e in json.load(open(database)) if pattern.match(e['file'])})))
PY
)
if [ $changed -eq 1 ]; then
    cd "$here"
    mapfile -t touched < <(git diff --name-only "$(git merge-base HEAD "$base")" -- '*.cpp' '*.h' '*.ui')
    selected=()
    for source in "${sources[@]}"; do
        stem=${source#"$here"/}
        stem=${stem%.cpp}
        for file in "${touched[@]}"; do
            if [ "${file%.*}" = "$stem" ]; then
                selected+=("$source")
                break
            fi
        done
    done
    sources=("${selected[@]}")
fi
if [ ${#sources[@]} -eq 0 ]; then
    echo "clang-tidy: no program sources to check"
    exit 0
fi

jobs=${TIDY_JOBS:-2}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
start=$(date +%s)
status=0
# run-clang-tidy takes regular expressions; each source becomes one that matches only itself.
mapfile -t patterns < <(printf '%s\n' "${sources[@]}" | sed 's/[][\.*^$+?(){}|]/\\&/g; s/^/^/; s/$/$/')
# The runner always asks for colours; the log drops them, and the counts of warnings hidden in
# Qt's headers, and the command lines, keeping the findings and their notes.
"$runner" -clang-tidy-binary "$tidy" -p "$dir" -j "$jobs" -quiet -header-filter="^$here/($layers)/" \
    "${patterns[@]}" 2>&1 |
    sed 's/\x1b\[[0-9;]*m//g' > "$log" || status=$?
grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^[^ ]*clang-tidy[^ ]* |^Error while processing' "$log" || true
findings=$(grep -cE '^[^ ].*:[0-9]+:[0-9]+: (warning|error): .*\]$' "$log" || true)
echo "clang-tidy: ${#sources[@]} program sources in $(( $(date +%s) - start )) s, $findings findings"
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    echo "Fix the findings, or end a line where the check is wrong with // NOLINT(check-name) and the reason." >&2
    exit 1
fi
