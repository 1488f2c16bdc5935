#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan: the linux-fuzz preset, in
# build/linux-fuzz), replays every kept regression input and seed, then fuzzes
# each target for a while. Exits non-zero on the first crash, leak, timeout or
# broken check; the input that caused it is kept under build/linux-fuzz/crashes/.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 20, what CI runs; 0 only replays). TARGETs from:
# catalogue layout language text installed_on enumeration manifest servicing
# wmi_values (default: all).
# The corpus grows in build/linux-fuzz/corpus/<target>/ from run to run; see
# docs/fuzzing.md for long runs and for turning a crash into a regression test.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true
targets=("$@")
[ "${#targets[@]}" -gt 0 ] || targets=(catalogue layout language text installed_on enumeration manifest servicing wmi_values)

build_dir=build/linux-fuzz
echo "== fuzz build ($build_dir, clang)"
CC=clang CXX=clang++ cmake --preset linux-fuzz >/dev/null
cmake --build "$build_dir" -j2 --target $(printf 'fuzz_%s ' "${targets[@]}")

# Scratch folders of the targets stay inside the build tree, even after a crash.
export TMPDIR=$PWD/$build_dir/tmp
mkdir -p "$TMPDIR"
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}

dict_for() {
    case "$1" in
        text | installed_on | wmi_values) echo tests/fuzz/dict/text.dict ;;
        *) echo tests/fuzz/dict/xml.dict ;;
    esac
}

failed=0
for target in "${targets[@]}"; do
    exe=$build_dir/tests/fuzz/fuzz_$target
    regressions=tests/fuzz/regressions/$target
    seeds=tests/fuzz/corpus/$target
    corpus=$build_dir/corpus/$target
    crashes=$build_dir/crashes/$target
    mkdir -p "$corpus" "$crashes"

    # Every input that once broke a target runs first, as a plain replay.
    replay=()
    [ -d "$regressions" ] && replay+=("$regressions"/*)
    replay+=("$seeds"/*)
    if ! "$exe" "${replay[@]}" >"$crashes/replay.log" 2>&1; then
        echo "fuzz: $target: a regression or seed input fails; see $crashes/replay.log" >&2
        tail -n 30 "$crashes/replay.log" >&2
        failed=1
        continue
    fi
    [ "$seconds" -gt 0 ] || { echo "fuzz: $target: ${#replay[@]} inputs replayed"; continue; }

    log=$crashes/fuzz.log
    if "$exe" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
        -dict="$(dict_for "$target")" -artifact_prefix="$crashes/" "$corpus" "$seeds" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $target: ${seconds}s, ${runs:-?} inputs, ${#replay[@]} replayed, no failure"
    else
        echo "fuzz: $target FAILED; input kept in $crashes/, log $log" >&2
        grep -E 'ERROR|FUZZ_CHECK|SUMMARY|runtime error|INFO: Seed' "$log" | head -n 10 >&2 || true
        # A run elsewhere (CI) leaves only its log: a small input is printed so it can be replayed.
        artifacts=("$crashes"/crash-* "$crashes"/leak-* "$crashes"/timeout-* "$crashes"/oom-*)
        artifact=
        [ "${#artifacts[@]}" -eq 0 ] || artifact=$(ls -t "${artifacts[@]}" | head -n 1)
        if [ -n "$artifact" ] && [ "$(stat -c %s "$artifact")" -le 4096 ]; then
            echo "fuzz: $target: the input, base64 (base64 -d > input; $exe input):" >&2
            base64 -w 0 "$artifact" >&2
            echo >&2
        fi
        failed=1
    fi
done
exit "$failed"
