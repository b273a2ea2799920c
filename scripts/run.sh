#!/usr/bin/env bash
# Sets up, builds and starts NORDA.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh" --desktop
bash "$here/scripts/build.sh" "$here/build"
cd "$here/build/norda"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" ./NORDA
fi
exec ./NORDA
