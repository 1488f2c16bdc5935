#!/usr/bin/env bash
# Builds both configurations and runs every suite: native (headless backend),
# Windows unit tests under Wine, and the end-to-end scenarios under Wine + Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== native build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --test-dir build/linux --output-on-failure -j2

echo "== Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows

echo "== Windows tests under Wine"
bash scripts/wine-tests.sh
