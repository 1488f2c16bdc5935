# The program's launches, their exit codes and its log.
#   e2e_start                  starts E2E_EXE, C:\OrvelleEx\OrvelleEx.exe unless a test
#                              sets another (launch N = 1, 2, ...; sets E2E_LAUNCH)
#   e2e_start_and_wait_list    e2e_start, then waits for the window and the loaded list
#   e2e_wait_exit [N] [S]      waits for launch N to end; prints its full exit code
#   e2e_log                    the program's log records (every log file of the prefix)
#   e2e_log_has TEXT           true when a log record contains TEXT
#   e2e_wait_log TEXT [S]      waits until a log record contains TEXT
#   e2e_keep_log [TAG]         moves the program's log files to $E2E_OUT/program-log/TAG/
#   e2e_close_and_keep_log TAG WHAT  closes the latest launch by its close button (exit
#                              code 0, window gone) and keeps its log as TAG; WHAT names the run

e2e_start() {
    E2E_LAUNCH=$((E2E_LAUNCH + 1))
    wine 'C:\e2e\e2e_ui.exe' run "C:\\e2e\\exit-$E2E_LAUNCH.txt" "$E2E_EXE" \
        >>"$E2E_OUT/launch-$E2E_LAUNCH.log" 2>&1 &
}

e2e_start_and_wait_list() {
    e2e_start
    e2e_wait_window 60
    e2e_wait_log 'get install list ret:0' 60
}

e2e_wait_exit() {
    local launch=${1:-$E2E_LAUNCH} seconds=${2:-30} i
    local report=$E2E_PREFIX/drive_c/e2e/exit-$launch.txt
    for i in $(seq 1 $((seconds * 4))); do
        if [ -s "$report" ]; then
            sed -n 's/^exit_code=\([0-9]*\).*/\1/p' "$report"
            return 0
        fi
        sleep 0.25
    done
    e2e_fail "launch $launch did not end within ${seconds}s"
}

e2e_log() {
    local file
    for file in "$E2E_LOG_DIR"/*.log; do
        [ -f "$file" ] && cat "$file"
    done
    return 0
}

e2e_log_has() {
    # grep reads everything (no -q), so the writer never dies of SIGPIPE under pipefail.
    e2e_log | grep -F -- "$1" >/dev/null
}

e2e_wait_log() {
    local text=$1 seconds=${2:-30} i
    for i in $(seq 1 $((seconds * 4))); do
        if e2e_log_has "$text"; then
            return 0
        fi
        sleep 0.25
    done
    e2e_fail "no log record with \"$text\" within ${seconds}s"
}

# Moves the program's log files aside (to $E2E_OUT/program-log/<tag>/), so the
# next launch's records are read on their own.
e2e_keep_log() {
    local tag=${1:-launch-$E2E_LAUNCH}
    mkdir -p "$E2E_OUT/program-log/$tag"
    if [ -d "$E2E_LOG_DIR" ]; then
        find "$E2E_LOG_DIR" -maxdepth 1 -name '*.log' -exec mv -t "$E2E_OUT/program-log/$tag" {} +
    fi
}

# Ends the latest launch by its close button: exit code 0, the window gone, its
# log kept apart as TAG.
e2e_close_and_keep_log() {
    local tag=$1 what=$2 code
    e2e_click closeButton
    code=$(e2e_wait_exit "$E2E_LAUNCH" 30)
    [ "$code" = 0 ] || e2e_fail "exit code $code after closing ($what)"
    e2e_wait_no_window 15
    e2e_keep_log "$tag"
}
