#!/usr/bin/env bash
# Refreshes the translation sources from the code; translate new entries in norda_zh.ts afterwards.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
cd "$here"
"$lupdate" -no-obsolete -locations none app arrays calc camdlg import measure storage toolkit \
    -ts resources/translations/norda_zh.ts resources/translations/norda_en.ts
