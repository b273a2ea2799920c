#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. Usage: test.sh [BUILD_DIR] [extra cmake arguments]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
dir=${1:-$here/build}; shift || true
bash "$here/scripts/build.sh" "$dir" "$@"
cd "$dir"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
