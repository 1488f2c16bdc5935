#!/usr/bin/env bash
# Builds the benchmarks optimised (preset linux-bench, build/linux-bench) and
# runs them; prints the machine, the results, the per-row ratio against the two
# XML parses every row must do, and a frame of 1,000 rows against one of 10. Extra arguments go to the benchmark
# executable (e.g. --benchmark_filter=BM_BuildRows).
#
#   bash scripts/bench.sh [--benchmark_repetitions=5 ...]
#   bash scripts/bench.sh --wine      the Wine measurements instead (bench/wine/measure.sh):
#                                     start to list, peak memory, idle CPU, 1,000 rows,
#                                     a frame of the list with the Win32 painter
#   bash scripts/bench.sh --wine start   start to list only
#   bash scripts/bench.sh --wine titles  Windows Update titles of 1,000 rows only
#
# The JSON report is kept in build/linux-bench/bench.json; docs/performance.md
# holds the figures of a run and how to read them.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--wine" ]; then
    shift
    exec bash bench/wine/measure.sh "$@"
fi

cmake --preset linux-bench >/dev/null
cmake --build --preset linux-bench -j 2 --target orvelle_bench

echo "machine: $(nproc) CPUs, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1), $(uname -sr)"
export TMPDIR=${TMPDIR:-/tmp}
report=build/linux-bench/bench.json
build/linux-bench/bench/orvelle_bench --benchmark_out="$report" --benchmark_out_format=json \
    --benchmark_min_time=0.2 "$@"

# Cost of a row against its two unavoidable parses (target: at most 1.5).
python3 - "$report" <<'PY' || echo "bench: python3 missing; ratios not computed"
import json, re, sys
entries = json.load(open(sys.argv[1]))["benchmarks"]
# Medians when the run was repeated, else the single runs.
chosen = [b for b in entries if b.get("aggregate_name") == "median"] or \
         [b for b in entries if b.get("run_type") == "iteration"]
runs = {b["run_name"]: b for b in chosen}
def us(b, key):
    return b[key] * {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
layout, catalogue = runs.get("BM_ParseRowLayoutXml"), runs.get("BM_ParseCatalogueXml")
if layout and catalogue:
    for key, label in (("real_time", "wall"), ("cpu_time", "cpu")):
        parses = us(layout, key) + us(catalogue, key)
        print(f"{label}: the two parses of a row: {parses:.1f} us "
              f"(layout {us(layout, key):.1f} + catalogue {us(catalogue, key):.1f})")
        for name, b in runs.items():
            m = re.match(r"(BM_BuildRows|BM_WindowToList)/(\d+)$", name)
            if m:
                per_row = us(b, key) / int(m.group(2))
                print(f"  {name:24s} {us(b, key) / 1000:8.1f} ms  {per_row:6.1f} us per row = "
                      f"{per_row / parses:4.2f} x the two parses")
# A frame of 1,000 rows against one of 10 (target: at most 1.5).
for frame in ("BM_ListFrame", "BM_ListWheelFrame"):
    ten, thousand = runs.get(frame + "/10"), runs.get(frame + "/1000")
    if ten and thousand:
        print(f"{frame}: 10 rows {us(ten, 'real_time'):.1f} us, 1,000 rows "
              f"{us(thousand, 'real_time'):.1f} us, ratio "
              f"{us(thousand, 'real_time') / us(ten, 'real_time'):.2f}")
PY
