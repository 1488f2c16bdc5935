# Helpers of the end-to-end scenarios (sourced by run.sh; the scenarios call them).
# A scenario runs in its own fresh Wine prefix with dist/windows/ staged as
# C:\OrvelleEx\ and the helper e2e_ui.exe as C:\e2e\e2e_ui.exe. Everything it
# leaves (program log, screenshots, Wine output) is under $E2E_OUT.
#
#   e2e_begin NAME           fresh prefix and staged program for scenario NAME
#   e2e_start                starts OrvelleEx.exe (launch number N = 1, 2, ...; sets E2E_LAUNCH)
#   e2e_wait_window [S]      waits for the main window ("OrvelleExUI"/"OrvelleEx"), visible on X
#   e2e_window_state         "<l> <t> <r> <b> <minimized> <enabled> <foreground>" or "none"
#   e2e_window_icons         the sizes of the main window's icons as X sees them ("16 32")
#   e2e_control_rect NAME    a control's screen rectangle "<l> <t> <r> <b>", or fails
#   e2e_click NAME           clicks the centre of a control with the X mouse
#   e2e_wait_exit [N] [S]    waits for launch N to end; prints its full exit code
#   e2e_log                  the program's log records (every log file of the prefix)
#   e2e_log_has TEXT         true when a log record contains TEXT
#   e2e_wait_log TEXT [S]    waits until a log record contains TEXT
#   e2e_screenshot NAME      saves $E2E_OUT/NAME.png; prints its path
#   e2e_fail MESSAGE         ends the scenario as failed
#   e2e_end                  waits for the prefix's processes (kills stragglers)

E2E_MAIN_CLASS=OrvelleExUI
E2E_MAIN_TITLE=OrvelleEx
E2E_BUILD_DIR=${E2E_BUILD_DIR:-${ORVELLE_WINDOWS_BUILD_DIR:-build/windows}}

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_begin() {
    E2E_NAME=$1
    E2E_OUT=$ORVELLE_ROOT/build/e2e/$E2E_NAME
    E2E_PREFIX=$E2E_OUT/prefix
    E2E_LAUNCH=0
    rm -rf "$E2E_OUT"
    mkdir -p "$E2E_OUT"
    orvelle_wine_prefix "$E2E_PREFIX"
    export WINEPREFIX=$E2E_PREFIX
    E2E_APP_DIR=$E2E_PREFIX/drive_c/OrvelleEx
    mkdir -p "$E2E_APP_DIR" "$E2E_PREFIX/drive_c/e2e"
    cp -r "$ORVELLE_ROOT/dist/windows/." "$E2E_APP_DIR/"
    cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_ui.exe" "$E2E_PREFIX/drive_c/e2e/"
    E2E_LOG_DIR=$(orvelle_wine_localappdata "$E2E_PREFIX")/Orvelle
}

e2e_ui() {
    wine 'C:\e2e\e2e_ui.exe' "$@" 2>>"$E2E_OUT/wine.log" | tr -d '\r'
}

e2e_start() {
    E2E_LAUNCH=$((E2E_LAUNCH + 1))
    wine 'C:\e2e\e2e_ui.exe' run "C:\\e2e\\exit-$E2E_LAUNCH.txt" 'C:\OrvelleEx\OrvelleEx.exe' \
        >>"$E2E_OUT/launch-$E2E_LAUNCH.log" 2>&1 &
}

e2e_window_state() {
    e2e_ui window "$E2E_MAIN_CLASS" "$E2E_MAIN_TITLE" || true
}

# Wine answers WM_GETICON from another process with nothing, but its X driver
# puts the window's icons on the X window (_NET_WM_ICON).
e2e_window_icons() {
    local xid
    xid=$(xdotool search --onlyvisible --name "^${E2E_MAIN_TITLE}\$" 2>/dev/null | head -n1)
    [ -n "$xid" ] || return 0
    xprop -id "$xid" _NET_WM_ICON 2>/dev/null | sed -n 's/.*Icon (\([0-9]*\) x [0-9]*).*/\1/p' |
        sort -n | tr '\n' ' ' | sed 's/ $//'
}

e2e_wait_window() {
    local seconds=${1:-60} i state
    for i in $(seq 1 $((seconds * 4))); do
        state=$(e2e_window_state)
        if [ "$state" != none ] && [ -n "$state" ] &&
            xdotool search --onlyvisible --name "^${E2E_MAIN_TITLE}\$" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.25
    done
    e2e_fail "the main window did not appear within ${seconds}s"
}

e2e_control_rect() {
    local rect
    rect=$(e2e_ui rect "$E2E_MAIN_CLASS" "$E2E_MAIN_TITLE" "$1" || true)
    if [ -z "$rect" ] || [ "$rect" = none ]; then
        e2e_fail "control \"$1\" is not shown"
    fi
    echo "$rect"
}

e2e_click() {
    local left top right bottom
    read -r left top right bottom <<<"$(e2e_control_rect "$1")"
    # No --sync: it waits for a motion that never comes when the pointer is already there.
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) sleep 0.1 click 1
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

e2e_screenshot() {
    local file=$E2E_OUT/$1.png
    import -window root "$file"
    echo "$file"
}

e2e_end() {
    orvelle_wine_finish "$E2E_PREFIX" 20 || e2e_fail "processes were still running at the end"
}
