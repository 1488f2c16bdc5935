#!/usr/bin/env bash
# Runs each native suite as a GoogleTest user would: all its tests in one
# process, in a shuffled order, several times over. ctest gives every test a
# fresh process, which hides a test that leaves work behind for the next one.
#
#   bash scripts/repeat-suites.sh [BUILD_DIR] [REPEATS] [SEED]
#
# Defaults: build/linux, 3 repeats, a random seed (printed, so that a failing
# order can be replayed with the same SEED). Suites must already be built.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/linux}
repeats=${2:-3}
seed=${3:-$((RANDOM % 99999 + 1))}

echo "repeat-suites: $build_dir, $repeats shuffled repeats, seed $seed"
for suite in support duilib hotfix ui app; do
    started=$(date +%s)
    if ! "$build_dir/tests/tests_$suite" --gtest_brief=1 --gtest_shuffle \
        --gtest_repeat="$repeats" --gtest_random_seed="$seed"; then
        echo "repeat-suites: tests_$suite failed (replay: bash scripts/repeat-suites.sh" \
            "$build_dir $repeats $seed)" >&2
        exit 1
    fi
    echo "repeat-suites: tests_$suite passed in $(($(date +%s) - started))s"
done
