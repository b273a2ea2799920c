#!/usr/bin/env bash
# Configures and builds NORDA. Usage: build.sh BUILD_DIR [extra cmake arguments]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$here/build}; shift || true
cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build "$dir" --parallel "$(nproc)"
