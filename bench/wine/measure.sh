#!/usr/bin/env bash
# The Wine measurements of scripts/bench.sh --wine (run through it). Builds the
# Windows program and the bare programs (build/windows-bench), then in one
# fresh prefix on Xvfb, with a persistent wineserver so no run pays its start:
#   start to list  the program from its process's creation to its list
#                  (start_to_list.exe: the program with bench/wine/StartToList_win.cpp,
#                  which times the last line the list is built with) against
#                  bare_wmi_query.exe from its creation to its answer (the same WMI
#                  query, nothing else); each times itself (GetProcessTimes), so
#                  the launcher's and the shell's start-up drop out.
#                  BENCH_WINE_START_RUNS rounds (default 31), the two in turn, in
#                  one warm wineserver; the median ratio with its 95 % bootstrap
#                  interval over the rounds;
#   peak memory    VmHWM of OrvelleEx.exe with its list shown against
#                  bare_window.exe, a bare Win32 window of the same size, and
#                  against the same window after the same WMI query;
#   idle CPU       CPU time used by each over 10 s once it is shown.
#   1,000 rows     OrvelleEx.exe with 1,000 hotfixes from the stand-in WMI
#                  provider (tests/e2e/tools/e2e_wmi.cpp): from the query's end
#                  (the load's log line) to the last row's line;
#   a frame        list_frame.exe with 10 and 1,000 rows: the first layout and
#                  paint, a repaint, a wheel step with its repaint;
#   a row's steps  row_parts.exe: each step of a row 1,000 times (printed as is);
#   titles         OrvelleEx.exe with 1,000 hotfixes and a 2,000-entry Windows
#                  Update history from the stand-in agent (tests/e2e/tools/e2e_wua.cpp):
#                  from the last row's line to the titles' line (they show then).
# The others: medians of BENCH_WINE_RUNS runs (default 5). With the argument
# "start" only start to list is measured, with "titles" only the titles.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/wine-env.sh

build_dir=build/windows-bench
runs=${BENCH_WINE_RUNS:-5}
start_runs=${BENCH_WINE_START_RUNS:-31}
only_start=$([ "${1:-}" = start ] && echo 1 || true)
only_titles=$([ "${1:-}" = titles ] && echo 1 || true)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DORVELLE_BUILD_BENCH=ON -DORVELLE_BUILD_TESTS=OFF \
    -DORVELLE_DIST_DIR="$PWD/$build_dir/dist" >/dev/null
cmake --build "$build_dir" -j2 --target orvelle_dist bare_wmi_query bare_window list_frame \
    row_parts e2e_wmi e2e_wua start_to_list >/dev/null

prefix=$PWD/$build_dir/wine-prefix
orvelle_wine_prefix "$prefix"
export WINEPREFIX=$prefix
trap 'wineserver -k 2>/dev/null || true; orvelle_display_stop' EXIT
orvelle_display_start
wineserver -p
program_dir=$prefix/drive_c/OrvelleEx
cp -r "$build_dir/dist" "$program_dir"
cp "$build_dir"/bench/bare_*.exe "$build_dir"/bench/list_frame.exe "$build_dir"/bench/row_parts.exe \
    "$build_dir"/bench/start_to_list*.exe "$program_dir/"
log=$prefix/drive_c/ProgramData/Orvelle/Logs/Orvelle.log

# The Linux process running a Windows program of that name in this prefix (other
# prefixes on the machine may run a program of the same name at the same time).
pid_of() {
    local pid
    for pid in $(pgrep -f "$1" || true); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
            echo "$pid"
            return
        fi
    done
}
wait_for_pid() {
    local name=$1 pid=
    for _ in $(seq 1 200); do pid=$(pid_of "$name"); [ -n "$pid" ] && break; sleep 0.05; done
    echo "$pid"
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
peak_kib() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }
log_time() {  # "2026-12-08 16:20:01.123 INFO ..." -> seconds since the epoch
    date -d "$(cut -c1-23 <<<"$1")" +%s.%N
}
minus() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a - b}'; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# The CPU ticks a shown program uses over 10 s (after SETTLE s) and its peak
# memory, added to the arrays named IDLE and PEAKS; then the prefix's processes end.
measure_idle() {
    local pid=$1 settle=$2 before after
    local -n idle=$3 peaks=$4
    sleep "$settle"
    before=$(cpu_ticks "$pid"); sleep 10; after=$(cpu_ticks "$pid")
    idle+=($((after - before)))
    peaks+=("$(peak_kib "$pid")")
    wineserver -k; wineserver -p
}

# Starts OrvelleEx.exe with its old log gone and waits, at most TRIES times
# 50 ms, until the function READY finds in the log what it waits for.
launch_until() {
    local ready=$1 tries=$2
    rm -f "$log"
    (cd "$program_dir" && wine OrvelleEx.exe >/dev/null 2>&1 &)
    for _ in $(seq 1 "$tries"); do
        [ -f "$log" ] && "$ready" && break
        sleep 0.05
    done
}
# One launch as launch_until READY TRIES: the seconds from the last log line
# matching FROM to the last matching TO, added to the array named TIMES; no
# such lines end the bench, saying "no WHAT". The prefix's processes then end.
time_log_lines() {
    local ready=$1 tries=$2 from=$3 to=$4 what=$5 start end
    local -n times=$6
    launch_until "$ready" "$tries"
    start=$(grep "$from" "$log" | tail -n1)
    end=$(grep "$to" "$log" | tail -n1)
    [ -n "$start" ] && [ -n "$end" ] || { echo "bench-wine: no $what" >&2; exit 1; }
    times+=("$(minus "$(log_time "$end")" "$(log_time "$start")")")
    wineserver -k; wineserver -p
}
# Registry lines (regedit syntax, without the header) imported into the prefix.
import_registry() {
    { printf 'Windows Registry Editor Version 5.00\n\n'; cat; } >"$prefix/drive_c/e2e/bench.reg"
    wine regedit /S 'C:\e2e\bench.reg' 2>/dev/null
}
# A stand-in DLL in C:\e2e\ as the in-process server of the class CLSID.
register_standin() {
    import_registry <<REG
[HKEY_CLASSES_ROOT\\CLSID\\{$1}\\InprocServer32]
@="C:\\\\e2e\\\\$2"
"ThreadingModel"="Both"
REG
}

# 1,000 rows from the stand-in provider, registered as the WbemLocator class.
serve_thousand_rows() {
    mkdir -p "$prefix/drive_c/e2e"
    cp "$build_dir/bench-e2e/e2e_wmi.dll" "$prefix/drive_c/e2e/"
    for i in $(seq 1 1000); do
        printf 'KB5%06d\tUpdate\t3/%d/2024\n' "$i" "$((i % 28 + 1))"
    done >"$prefix/drive_c/e2e/hotfixes.txt"
    register_standin 4590F811-1D3A-11D0-891F-00AA004B2E24 e2e_wmi.dll
}

# The titles of those rows from a history of 2,000 entries (two a row, the newer
# first), served by the stand-in agent as the UpdateSession class; the seconds
# from the last row's line to the titles' line, one a run, into TITLES_TIMES.
measure_titles() {
    cp "$build_dir/bench-e2e/e2e_wua.dll" "$prefix/drive_c/e2e/"
    for i in $(seq 1 1000); do
        printf '%s\t2024-03 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5%06d)\n' \
            "45370.$i" "$i"
        printf '%s\t2024-02 Update for Windows 11 Version 23H2 for x64-based Systems (KB5%06d)\n' \
            "45340.$i" "$i"
    done >"$prefix/drive_c/e2e/wua-history.txt"
    register_standin 4CB43D7F-7EEE-4906-8698-60DA1C38F2FE e2e_wua.dll
    TITLES_TIMES=()
    local run
    titles_shown() { grep -q 'update titles shown on\|Windows Update is not available' "$log"; }
    for run in $(seq 1 "$runs"); do
        time_log_lines titles_shown 1200 'find value success!' \
            'update titles shown on 1000 of 1000 rows' 'titles on the 1,000 rows' TITLES_TIMES
    done
    # The other measurements run without Windows Update.
    import_registry <<<'[-HKEY_CLASSES_ROOT\CLSID\{4CB43D7F-7EEE-4906-8698-60DA1C38F2FE}]'
}
print_titles() {
    echo "titles of 1,000 rows from a 2,000-entry history, the last row's line to the titles' line:" \
        "$(printf '%s\n' "${TITLES_TIMES[@]}" | median) s   (runs: ${TITLES_TIMES[*]})"
}
if [ -n "$only_titles" ]; then
    serve_thousand_rows
    measure_titles
    print_titles
    exit 0
fi

# After each server restart Wine's services start again; a first, unmeasured
# query lets every measured program find them running.
warm_up() { (cd "$program_dir" && wine bare_wmi_query.exe >/dev/null 2>&1) || true; }
# One launch each; each prints the program's own seconds from its creation to
# its answer or list. The program is ended (by its process id) once it has shown it.
time_bare() {
    (cd "$program_dir" && wine bare_wmi_query.exe 2>/dev/null | sed -n 's/^answered after //p' |
        tr -d '\r')
}
time_list() {
    local result=$program_dir/start-to-list.txt pid
    rm -f "$result"
    (cd "$program_dir" && wine "$1") >/dev/null 2>&1 &
    for _ in $(seq 1 600); do [ -s "$result" ] && break; sleep 0.05; done
    sleep 0.5  # the rows are built right after the load's line; the file holds the latest
    sed -n 's/^list //p' "$result" | tr -d '\r'
    pid=$(wait_for_pid "$1")
    [ -z "$pid" ] || kill "$pid"
    while [ -n "$(pid_of "$1")" ]; do sleep 0.05; done
}
# One server for all rounds, its services started and every program run once
# unmeasured, so that no round pays a first start.
wineserver -k 2>/dev/null || true; wineserver -p; warm_up
time_list start_to_list.exe >/dev/null
start_times=$(mktemp)
for run in $(seq 1 "$start_runs"); do
    bare='' list=''
    for turn in 0 1; do  # each round starts with the other of the two
        case $(((run + turn) % 2)) in
            0) bare=$(time_bare) ;;
            1) list=$(time_list start_to_list.exe) ;;
        esac
    done
    [ -n "$bare" ] && [ -n "$list" ] ||
        { echo "bench-wine: round $run gave no time (\"$bare\" \"$list\")" >&2; exit 1; }
    echo "$bare $list" >>"$start_times"
done
wineserver -k 2>/dev/null || true; wineserver -p
echo "wine: $(wine --version 2>/dev/null); $(uptime | sed 's/.*load/load/')"
python3 - "$start_times" <<'PY'
import random, statistics, sys
rounds = [tuple(map(float, line.split())) for line in open(sys.argv[1])]
bare, listed = (list(column) for column in zip(*rounds))
def ratio(picked):
    return statistics.median([listed[i] for i in picked]) / statistics.median([bare[i] for i in picked])
random.seed(27)
samples = sorted(ratio([random.randrange(len(rounds)) for _ in rounds]) for _ in range(10000))
low, high = samples[int(0.025 * len(samples))], samples[int(0.975 * len(samples)) - 1]
print(f"start to list: OrvelleEx.exe {statistics.median(listed):.3f} s, bare WMI query "
      f"{statistics.median(bare):.3f} s, ratio {ratio(range(len(rounds))):.2f} "
      f"(95 % interval {low:.2f}\u2013{high:.2f})   ({len(rounds)} rounds)")
print("rounds (bare, list):", "; ".join(" ".join(f"{v:.3f}" for v in r) for r in rounds))
PY
rm -f "$start_times"
[ -z "$only_start" ] || exit 0

list_shown() { grep -q 'get install list ret:' "$log"; }
orvelle_peaks=() orvelle_idle=() window_peaks=() window_idle=() wmi_window_peaks=()
for run in $(seq 1 "$runs"); do
    warm_up
    launch_until list_shown 600
    grep -q 'get install list ret:' "$log" || { echo "bench-wine: OrvelleEx.exe showed no list" >&2; exit 1; }
    measure_idle "$(wait_for_pid OrvelleEx.exe)" 1 orvelle_idle orvelle_peaks

    (cd "$program_dir" && wine bare_window.exe >/dev/null 2>&1 &)
    measure_idle "$(wait_for_pid bare_window.exe)" 2 window_idle window_peaks

    (cd "$program_dir" && wine bare_window.exe /wmi >/dev/null 2>&1 &)
    pid=$(wait_for_pid bare_window.exe)
    sleep 3
    wmi_window_peaks+=("$(peak_kib "$pid")")
    wineserver -k; wineserver -p
done

serve_thousand_rows
thousand_rows_shown() { [ "$(grep -c 'find value success!' "$log")" -ge 1000 ]; }
rows_times=()
for run in $(seq 1 "$runs"); do
    time_log_lines thousand_rows_shown 600 'get install list ret:0' 'find value success!' \
        'list of 1,000 rows' rows_times
done
frames=()
for run in $(seq 1 "$runs"); do
    for count in 10 1000; do
        frames+=("$(cd "$program_dir" && wine list_frame.exe "$count" 100 2>/dev/null | tr -d '\r')")
    done
done
parts=$(cd "$program_dir" && wine row_parts.exe 1000 2>/dev/null | tr -d '\r')
measure_titles
# The median of one field ("wheel step and repaint 4.72 ms") of list_frame's lines for COUNT rows.
frame_median() {
    printf '%s\n' "${frames[@]}" | grep "^rows $1:" | sed -n "s/.*, $2 \([0-9.]*\) ms.*/\1/p" | median
}

orvelle_peak=$(printf '%s\n' "${orvelle_peaks[@]}" | median)
window_peak=$(printf '%s\n' "${window_peaks[@]}" | median)
wmi_window_peak=$(printf '%s\n' "${wmi_window_peaks[@]}" | median)
echo "$runs runs, medians:"
echo "peak memory:   OrvelleEx.exe $((orvelle_peak / 1024)) MiB, bare window $((window_peak / 1024)) MiB," \
    "difference $(((orvelle_peak - window_peak) / 1024)) MiB; bare window after the same WMI query" \
    "$((wmi_window_peak / 1024)) MiB, so the program's own $(((orvelle_peak - wmi_window_peak) / 1024)) MiB"
echo "idle CPU over 10 s (1 tick = 10 ms): OrvelleEx.exe ${orvelle_idle[*]}; bare window ${window_idle[*]}"
echo "1,000 rows from the stand-in provider, the query's end to the last row's line:" \
    "$(printf '%s\n' "${rows_times[@]}" | median) s   (runs: ${rows_times[*]})"
for field in 'first layout and paint' 'repaint' 'wheel step and repaint'; do
    ten=$(frame_median 10 "$field") thousand=$(frame_median 1000 "$field")
    echo "$field: 10 rows $ten ms, 1,000 rows $thousand ms, ratio" \
        "$(awk -v a="$thousand" -v b="$ten" 'BEGIN {printf "%.2f", a / b}')"
done
print_titles
echo "a row's steps (row_parts.exe):"
echo "$parts" | sed 's/^/  /'
