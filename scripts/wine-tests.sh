#!/usr/bin/env bash
# Runs the Windows suite (build/windows/tests/orvelle_win_tests.exe) under Wine
# in a fresh prefix, on Xvfb when there is no display, then the end-to-end
# scenarios (tests/e2e/run.sh, which also needs the native layout tool
# build/linux/tests/e2e/e2e_layout). Builds nothing: run `cmake --build --preset
# windows` (and `--preset linux`) first. Exits non-zero when any test fails.
#
# The prefix gets the fake installer of the uninstall tests as
# C:\windows\system32\wusa.exe (the template overrides wusa.exe to native).
# Logs and the gtest report stay under build/wine/unit/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

build_dir=${ORVELLE_WINDOWS_BUILD_DIR:-build/windows}
tests_exe=$build_dir/tests/orvelle_win_tests.exe
if [ ! -f "$tests_exe" ]; then
    echo "wine-tests: $tests_exe is missing; build it with: cmake --build --preset windows" >&2
    exit 1
fi

out_dir=$ORVELLE_WINE_DIR/unit
prefix=$out_dir/prefix
rm -rf "$out_dir"
mkdir -p "$out_dir"
orvelle_wine_prefix "$prefix"

fake_wusa=$(find "$build_dir/tests" -name 'fake_wusa.exe' -o -name 'wusa.exe' 2>/dev/null | head -n1 || true)
if [ -n "$fake_wusa" ]; then
    cp "$fake_wusa" "$prefix/drive_c/windows/system32/wusa.exe"
else
    echo "wine-tests: no fake wusa.exe under $build_dir/tests; the uninstall tests run without it" >&2
fi

# The servicing API's stand-in (tests/e2e/tools/e2e_dism.cpp) as the prefix's dismapi.dll.
if [ -f "$build_dir/tests/e2e/e2e_dism.dll" ]; then
    cp "$build_dir/tests/e2e/e2e_dism.dll" "$prefix/drive_c/windows/system32/dismapi.dll"
fi

trap 'orvelle_display_stop' EXIT
orvelle_display_start

report=$out_dir/gtest-report.xml
log=$out_dir/orvelle_win_tests.log
started=$(date +%s)
set +e
# Run from the source tree so the suite's Unix source paths resolve on drive Z:.
WINEPREFIX=$prefix wine "$tests_exe" --gtest_output="xml:$(WINEPREFIX=$prefix winepath -w "$report")" \
    >"$log" 2>&1
shell_rc=$?
set -e
orvelle_wine_finish "$prefix" 30 || true

# The summary, as gtest printed it.
sed -n '/^\[==========\] .* ran\./,$p' "$log"
echo "wine-tests: orvelle_win_tests.exe took $(($(date +%s) - started))s; log: $log"

# The report, not the shell's low byte of the exit code, says whether it passed.
failed=0
if [ ! -s "$report" ]; then
    echo "wine-tests: no gtest report (crashed?); tail of the log:" >&2
    tail -n 40 "$log" >&2
    failed=1
else
    counts=$(sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="[0-9]*" errors="\([0-9]*\)".*/\1 \2 \3/p' "$report" | head -n1)
    read -r total failures errors <<<"${counts:-0 1 0}"
    echo "wine-tests: $((total - failures - errors)) passed, $((failures + errors)) failed"
    if [ "$failures" -ne 0 ] || [ "$errors" -ne 0 ] || [ "$total" -eq 0 ]; then
        failed=1
    fi
fi
if [ "$shell_rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
    echo "wine-tests: orvelle_win_tests.exe ended with $shell_rc although the report shows no failure" >&2
    failed=1
fi
if [ "$failed" -eq 0 ]; then
    rm -rf "$prefix"
fi
orvelle_display_stop
trap - EXIT

if [ -x tests/e2e/run.sh ] || [ -f tests/e2e/run.sh ]; then
    bash tests/e2e/run.sh || failed=1
fi
exit "$failed"
