#!/usr/bin/env bash
# Refreshes the screenshots in docs/ from a run of the end-to-end scenarios that
# take them (the list, an uninstall outcome, a list with a permanent update, a
# cumulative update being removed and the restart bar after it, a failure with its reason beside a checkpoint update, a list with Windows Update's titles, the About dialog, a long list and the keyboard focus, and the list and the About
# dialog in every language for docs/languages.md), each cropped to its window.
# Needs the same builds as tests/e2e/run.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tests/e2e/run.sh 01-normal-start 02-uninstall-outcomes 05-about-dialog \
    10-permanent-and-restart-codes 13-languages 14-long-list 17-cumulative-update \
    22-failure-reason-and-checkpoint 25-titles 27-hide-updates-dialog
copy() {
    local from=build/e2e/$1 to=docs/$2
    [ -f "$from" ] || { echo "screenshots: $from is missing" >&2; exit 1; }
    # Few colours, no metadata: small files that still show the UI as it is.
    convert "$from" -strip -define png:compression-level=9 "$to"
    echo "screenshots: $to ($(stat -c %s "$to") bytes)"
}
copy 01-normal-start/list-window.png screenshot-list.png
copy 02-uninstall-outcomes/outcome-0x00000BC2-window.png screenshot-outcome.png
copy 05-about-dialog/about-window.png screenshot-about.png
copy 10-permanent-and-restart-codes/permanent-window.png screenshot-permanent.png
copy 17-cumulative-update/progress-40-window.png screenshot-cumulative-progress.png
copy 17-cumulative-update/outcome-0x80070BC2-window.png screenshot-restart-bar.png
copy 22-failure-reason-and-checkpoint/failed-with-reason-window.png screenshot-reason.png
copy 25-titles/titles-window.png list-with-titles.png
# The gallery: a row per shipped language (each file in res/values/), after the
# table's header in docs/languages.md.
mkdir -p docs/languages
gallery=$(sed '/^|---|---|---|$/q' docs/languages.md)
for file in res/values/*.xml; do
    language=$(basename "$file" .xml)
    copy "13-languages/list-$language-window.png" "languages/list-$language.png"
    copy "13-languages/about-$language-window.png" "languages/about-$language.png"
    gallery+=$'\n'"| $language | ![](languages/list-$language.png) | ![](languages/about-$language.png) |"
done
echo "$gallery" >docs/languages.md
copy 14-long-list/long-list-window.png screenshot-long-list.png
copy 14-long-list/focus-window.png screenshot-focus.png
copy 27-hide-updates-dialog/hide-updates-dialog-window.png hide-updates-dialog.png
