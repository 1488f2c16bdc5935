#!/usr/bin/env bash
# The end-to-end scenarios: each file in tests/e2e/scenarios/ starts the real
# OrvelleEx.exe (dist/windows/) in its own fresh Wine prefix, on Xvfb when there
# is no display, and checks it through its window, its log and screenshots.
# Needs the Windows build (cmake --build --preset windows). Usage:
#   bash tests/e2e/run.sh [PATTERN]   runs the scenarios whose file name contains PATTERN
# A failing scenario keeps its prefix, log and screenshots under build/e2e/<scenario>/.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
source tests/e2e/lib.sh

pattern=${1:-}
for needed in dist/windows/OrvelleEx.exe "$E2E_BUILD_DIR/tests/e2e/e2e_ui.exe"; do
    if [ ! -f "$needed" ]; then
        echo "e2e: $needed is missing; build with: cmake --build --preset windows" >&2
        exit 1
    fi
done

orvelle_wine_template
trap 'orvelle_display_stop' EXIT
orvelle_display_start

passed=0
failed=0
failed_names=()
suite_started=$(date +%s)
for scenario in tests/e2e/scenarios/*.sh; do
    name=$(basename "$scenario" .sh)
    case $name in *"$pattern"*) ;; *) continue ;; esac
    started=$(date +%s)
    mkdir -p build/e2e
    if (
        set -euo pipefail
        e2e_begin "$name"
        source "$scenario"
        e2e_end
    ) >"build/e2e/$name.log" 2>&1; then
        passed=$((passed + 1))
        rm -rf "build/e2e/$name/prefix"
        echo "e2e: PASS $name ($(($(date +%s) - started))s)"
    else
        failed=$((failed + 1))
        failed_names+=("$name")
        WINEPREFIX=$ORVELLE_ROOT/build/e2e/$name/prefix wineserver -k 2>/dev/null || true
        echo "e2e: FAIL $name ($(($(date +%s) - started))s); kept build/e2e/$name/ and build/e2e/$name.log:"
        sed 's/^/    /' "build/e2e/$name.log" | tail -n 15
    fi
done
echo "e2e: took $(($(date +%s) - suite_started))s${failed_names[*]:+; failed: ${failed_names[*]}}"
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
