#!/usr/bin/env bash
# Builds the Windows executable and runs it under Wine. Without a display it
# runs under Xvfb, waits for the list, saves a screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target orvelle_dist
exec bash scripts/wine-run.sh
