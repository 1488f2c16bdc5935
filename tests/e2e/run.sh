#!/usr/bin/env bash
# The end-to-end scenarios: each file in tests/e2e/scenarios/ starts the real
# OrvelleEx.exe (dist/windows/) in its own fresh Wine prefix (a copy of the
# booted template) on its own Xvfb display, and checks it through its windows,
# its log and screenshots. Two scenarios run at a time (E2E_JOBS).
# Needs the Windows build (cmake --build --preset windows) and the native
# tools (cmake --build --preset linux --target e2e_layout e2e_outcomes). Usage:
#   bash tests/e2e/run.sh [TEXT...]   runs the scenarios whose file name contains a TEXT (all by default)
# Each scenario leaves its log (scenario.log), the program's log (program-log/)
# and its screenshots under build/e2e/<scenario>/; a failing one keeps its prefix too.
# The last line is "e2e: N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh
source tests/e2e/lib.sh

patterns=("$@")
jobs=${E2E_JOBS:-2}
for needed in dist/windows/OrvelleEx.exe "$E2E_BUILD_DIR/tests/e2e/e2e_ui.exe" \
    "$E2E_BUILD_DIR/tests/e2e/e2e_wmi.dll" "$E2E_BUILD_DIR/tests/e2e/e2e_msaa.exe" \
    "$E2E_BUILD_DIR/tests/e2e/e2e_dism.dll" "$E2E_BUILD_DIR/tests/e2e/e2e_wua.dll" \
    "$E2E_BUILD_DIR/tests/fake_wusa.exe"; do
    if [ ! -f "$needed" ]; then
        echo "e2e: $needed is missing; build with: cmake --build --preset windows" >&2
        exit 1
    fi
done
for tool in "$E2E_LAYOUT_TOOL" "$E2E_OUTCOMES_TOOL"; do
    if [ ! -x "$tool" ]; then
        echo "e2e: $tool is missing; build with: cmake --build --preset linux" >&2
        exit 1
    fi
done

orvelle_wine_template
mkdir -p build/e2e

# Everything Wine started in the scenario's prefix ends before its display does.
# The program's log stays beside the screenshots.
e2e_teardown() {
    if [ -n "${E2E_PREFIX:-}" ] && [ -d "$E2E_PREFIX" ]; then
        WINEPREFIX=$E2E_PREFIX wineserver -k 2>/dev/null || true
        WINEPREFIX=$E2E_PREFIX timeout 20 wineserver -w 2>/dev/null || true
        e2e_keep_log last || true
    fi
    orvelle_display_stop
}

# One scenario in a subshell of its own: display, prefix, result files.
# Not run as part of "||" or "if": that would switch errexit off inside it.
run_scenario() {
    local name=$1 file=$2 started=$SECONDS status
    set +e
    (
        set -euo pipefail
        unset DISPLAY
        trap e2e_teardown EXIT
        orvelle_display_start
        e2e_begin "$name"
        source "$file"
        e2e_end
    ) >"build/e2e/$name/scenario.log" 2>&1
    status=$?
    set -e
    echo "$((SECONDS - started))" >"build/e2e/$name/seconds"
    return "$status"
}

report() {
    local name=$1 status=$2 seconds
    seconds=$(cat "build/e2e/$name/seconds" 2>/dev/null || echo '?')
    if [ "$status" -eq 0 ]; then
        passed=$((passed + 1))
        rm -rf "build/e2e/$name/prefix"
        echo "e2e: PASS $name (${seconds}s)"
    else
        failed=$((failed + 1))
        failed_names+=("$name")
        echo "e2e: FAIL $name (${seconds}s); its log, screenshots and prefix are in build/e2e/$name/:"
        sed 's/^/    /' "build/e2e/$name/scenario.log" | tail -n 15
    fi
}

passed=0
failed=0
failed_names=()
declare -A running=()
suite_started=$SECONDS
for scenario in tests/e2e/scenarios/*.sh; do
    name=$(basename "$scenario" .sh)
    if [ "${#patterns[@]}" -gt 0 ]; then
        wanted=0
        for pattern in "${patterns[@]}"; do
            [[ $name == *"$pattern"* ]] && wanted=1
        done
        [ "$wanted" = 1 ] || continue
    fi
    rm -rf "build/e2e/$name" "build/e2e/$name.log"
    mkdir -p "build/e2e/$name"
    run_scenario "$name" "$scenario" &
    running[$!]=$name
    while [ "${#running[@]}" -ge "$jobs" ]; do
        status=0
        wait -n -p done_pid "${!running[@]}" || status=$?
        report "${running[$done_pid]}" "$status"
        unset "running[$done_pid]"
    done
done
while [ "${#running[@]}" -gt 0 ]; do
    status=0
    wait -n -p done_pid "${!running[@]}" || status=$?
    report "${running[$done_pid]}" "$status"
    unset "running[$done_pid]"
done
echo "e2e: took $((SECONDS - suite_started))s${failed_names[*]:+; failed: ${failed_names[*]}}"
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
