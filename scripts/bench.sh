#!/usr/bin/env bash
# Builds the benchmarks optimised (preset linux-bench, build/linux-bench) and
# runs them; prints the machine, the results, and the per-row ratio against
# the two XML parses every row must do. Extra arguments go to the benchmark
# executable (e.g. --benchmark_filter=BM_BuildRows).
#
#   bash scripts/bench.sh [--benchmark_repetitions=5 ...]
#
# The JSON report is kept in build/linux-bench/bench.json; docs/performance.md
# holds the figures of a run and how to read them.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset linux-bench >/dev/null
cmake --build --preset linux-bench -j 2 --target orvelle_bench

echo "machine: $(nproc) CPUs, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1), $(uname -sr)"
export TMPDIR=${TMPDIR:-/tmp}
report=build/linux-bench/bench.json
build/linux-bench/bench/orvelle_bench --benchmark_out="$report" --benchmark_out_format=json \
    --benchmark_min_time=0.2 "$@"

# Cost of a row against its two unavoidable parses (target: at most 1.5).
python3 - "$report" <<'PY' || echo "bench: python3 missing; ratios not computed"
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_type") == "iteration"}
def us(name):
    b = runs.get(name)
    if not b: return None
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
    return b["real_time"] * scale
layout, catalogue = us("BM_ParseRowLayoutXml"), us("BM_ParseCatalogueXml")
if layout and catalogue:
    parses = layout + catalogue
    print(f"two parses per row: {parses:.1f} us (layout {layout:.1f} + catalogue {catalogue:.1f})")
    for name, b in sorted(runs.items()):
        if "per_row" in b.get("counters", b) or "per_row" in b:
            per_row = b["per_row"] * 1e6
            print(f"{name:28s} {per_row:8.1f} us per row = {per_row / parses:4.2f} x the two parses")
PY
