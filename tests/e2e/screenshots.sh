#!/usr/bin/env bash
# Refreshes the screenshots in docs/ from a run of the end-to-end scenarios that
# take them (the list, an uninstall outcome, the About dialog, a long list and
# the keyboard focus), each cropped to its window. Needs the same builds as
# tests/e2e/run.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tests/e2e/run.sh 01-normal-start 02-uninstall-outcomes 05-about-dialog 10-long-list
copy() {
    local from=build/e2e/$1 to=docs/$2
    [ -f "$from" ] || { echo "screenshots: $from is missing" >&2; exit 1; }
    # Few colours, no metadata: small files that still show the UI as it is.
    convert "$from" -strip -define png:compression-level=9 "$to"
    echo "screenshots: $to ($(stat -c %s "$to") bytes)"
}
copy 01-normal-start/list-window.png screenshot-list.png
copy 02-uninstall-outcomes/outcome-3010-window.png screenshot-outcome.png
copy 05-about-dialog/about-window.png screenshot-about.png
copy 10-long-list/long-list-window.png screenshot-long-list.png
copy 10-long-list/focus-window.png screenshot-focus.png
