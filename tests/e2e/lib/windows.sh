# The program's windows as Windows (e2e_ui.exe window) and X see them.
#   e2e_window_state [KIND]    "<l> <t> <r> <b> <minimized> <enabled> <foreground>" or "none"
#   e2e_window_geometry [KIND] "<x> <y> <width> <height>" of the window as X shows it
#   e2e_window_icons           the sizes of the main window's icons as X sees them ("16 32")
#   e2e_wait_window [S] [KIND] waits until the window is shown (Win32 and X agree)
#   e2e_wait_no_window [S] [KIND]  waits until the window is gone
#   e2e_wait_window_flag FIELD VALUE MESSAGE [KIND]  waits until FIELD of the state
#                              (minimized, enabled or foreground) is VALUE

E2E_MAIN_CLASS=OrvelleExUI
E2E_ABOUT_CLASS=OrvelleAboutExUI
E2E_HIDE_CLASS=OrvelleHideUpdatesExUI
E2E_TITLE=OrvelleEx

e2e_window_class() {
    case ${1:-main} in
        main) echo "$E2E_MAIN_CLASS" ;;
        about) echo "$E2E_ABOUT_CLASS" ;;
        hide) echo "$E2E_HIDE_CLASS" ;;
        *) e2e_fail "unknown window kind \"$1\"" ;;
    esac
}

# The window's title: the Hide updates dialog has its own, in the language's words.
e2e_window_title() {
    if [ "${1:-main}" = hide ]; then
        e2e_string IDS_WU_HIDE_UPDATES_TITLE
    else
        echo "$E2E_TITLE"
    fi
}

e2e_window_state() {
    local class
    class=$(e2e_window_class "${1:-main}")
    e2e_ui window "$class" "$(e2e_window_title "${1:-main}")" || true
}

# The visible X window of that kind: both are named "OrvelleEx"; Wine marks the
# About dialog (owned by the main window) as a dialog.
e2e_x_window() {
    local want=_NET_WM_WINDOW_TYPE_NORMAL id type title
    [ "${1:-main}" != main ] && want=_NET_WM_WINDOW_TYPE_DIALOG
    title=$(e2e_window_title "${1:-main}")
    for id in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null || true); do
        type=$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null || true)
        if [[ $type == *"$want"* ]]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# The window as X shows it, once X and Windows agree on its place and size
# (they differ for a moment while Wine maps, restores or moves it). The last
# agreed geometry is remembered, so an unchanged window costs no Wine call.
e2e_window_geometry() {
    local kind=${1:-main} i id state l t r b X Y WIDTH HEIGHT SCREEN WINDOW
    local agreed=$E2E_OUT/.geometry-$kind
    for i in $(seq 1 40); do
        if id=$(e2e_x_window "$kind"); then
            eval "$(xdotool getwindowgeometry --shell "$id")"
            if [ "$id $X $Y $WIDTH $HEIGHT" = "$(cat "$agreed" 2>/dev/null)" ]; then
                echo "$X $Y $WIDTH $HEIGHT"
                return 0
            fi
            state=$(e2e_window_state "$kind")
            read -r l t r b _ <<<"$state"
            if [ "$state" != none ] && [ "$X $Y $WIDTH $HEIGHT" = "$l $t $((r - l)) $((b - t))" ]; then
                echo "$id $X $Y $WIDTH $HEIGHT" >"$agreed"
                echo "$X $Y $WIDTH $HEIGHT"
                return 0
            fi
        fi
        sleep 0.25
    done
    e2e_fail "no visible $kind window where Windows has it (X: ${X:-none} ${Y:-} ${WIDTH:-} ${HEIGHT:-}; Windows: ${state:-none})"
}

# Wine answers WM_GETICON from another process with nothing, but its X driver
# puts the window's icons on the X window (_NET_WM_ICON).
e2e_window_icons() {
    local xid
    xid=$(e2e_x_window main) || return 0
    xprop -id "$xid" _NET_WM_ICON 2>/dev/null | sed -n 's/.*Icon (\([0-9]*\) x [0-9]*).*/\1/p' |
        sort -n | tr '\n' ' ' | sed 's/ $//'
}

e2e_wait_window() {
    local seconds=${1:-60} kind=${2:-main} i state
    for i in $(seq 1 $((seconds * 4))); do
        state=$(e2e_window_state "$kind")
        if [ "$state" != none ] && [ -n "$state" ] && e2e_x_window "$kind" >/dev/null; then
            return 0
        fi
        sleep 0.25
    done
    e2e_fail "the $kind window did not appear within ${seconds}s"
}

e2e_wait_no_window() {
    local seconds=${1:-30} kind=${2:-main} i
    for i in $(seq 1 $((seconds * 4))); do
        [ "$(e2e_window_state "$kind")" = none ] && return 0
        sleep 0.25
    done
    e2e_fail "the $kind window is still there after ${seconds}s"
}

e2e_wait_window_flag() {
    local field=$1 value=$2 message=$3 kind=${4:-main} i state index fields
    case $field in
        minimized) index=4 ;;
        enabled) index=5 ;;
        foreground) index=6 ;;
        *) e2e_fail "e2e_wait_window_flag: no field \"$field\"" ;;
    esac
    for i in $(seq 1 40); do
        state=$(e2e_window_state "$kind")
        read -r -a fields <<<"$state"
        [ "${fields[index]:-}" = "$value" ] && return 0
        sleep 0.25
    done
    e2e_fail "$message ($state)"
}
