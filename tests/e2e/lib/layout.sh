# Where to click and look comes from the staged layout files: e2e_layout (the
# real toolkit, native build) lays a window's layout out at the scenario's scale
# and at the window's size as X shows it, and the window's X position is added.
# A control is named "KIND:NAME" (KIND main or about; main when left out), a
# control of list row N as "NAME@N", and link N of a text control as "NAME#N"
# (see tests/e2e/tools/e2e_layout.cpp).
# What the layout tool is told about the running window:
#   E2E_SCALE      the window's scale in percent (100; 150 at 144 DPI)
#   E2E_VIEW       the main window's view: loading, fail (the load failure with
#                  its retry link "loadHotfixFailText#0"), empty (no hotfix) or result
#   E2E_ROWS       the rows of the hotfix list (e2e_hotfixes sets it)
#   E2E_LANG       the language whose texts are expected (en-US)
#   E2E_MAIN_OPTIONS   more layout tool options for the main window (an array),
#                  e.g. (--hide btnUninstall@0 --show UninstallResultLab@0); the
#                  input helpers (input.sh) add the scrolls and keys they give it
#   E2E_ABOUT_OPTIONS  the same for the About dialog
#   e2e_rect CONTROL           a control's screen rectangle "<l> <t> <r> <b>", then its
#                              font size, style (1 bold, 0 not, + 2 underlined) and text
#                              colour (AARRGGBB)
#   e2e_layout_size [KIND]     "<width> <height>" of the window from its layout at E2E_SCALE
#   e2e_string KEY [N...]      the language text of KEY in E2E_LANG (numbers put in)
#   e2e_thumb CONTAINER        "<l> <t> <r> <b>" of its scroll bar's track, then of its
#                              thumb, on the screen
#   e2e_shown_rows NAME        the rows whose control NAME is wholly in the list's view, with
#                              their screen rectangles as e2e_rect gives them, a line each
#   e2e_focus [KIND]           the control with the keyboard focus (NAME or NAME@ROW) and
#                              its screen rectangle

E2E_LAYOUT_TOOL=${E2E_LAYOUT_TOOL:-$ORVELLE_ROOT/${ORVELLE_LINUX_BUILD_DIR:-build/linux}/tests/e2e/e2e_layout}
# The installer's outcomes from the program's own tables (tests/e2e/tools/e2e_outcomes.cpp).
E2E_OUTCOMES_TOOL=${E2E_OUTCOMES_TOOL:-$ORVELLE_ROOT/${ORVELLE_LINUX_BUILD_DIR:-build/linux}/tests/e2e/e2e_outcomes}

# The failure view's text as the program builds it: the load failure with the
# retry link in place of "{0}" (fail), or the text that no hotfix is installed.
e2e_failure_text() {
    local failure retry
    if [ "$1" = empty ]; then
        e2e_string IDS_NO_HOTFIX_INSTALL
        return
    fi
    failure=$(e2e_string IDS_HOTFIX_LOAD_FAIL)
    retry=$(e2e_string IDS_HOTFIX_LOAD_RETRY)
    echo "${failure//\{0\}/$retry}"
}

# e2e_layout MODE KIND WIDTHxHEIGHT [ARGS...]: the layout tool on the staged layout.
e2e_layout() {
    local mode=$1 kind=$2 size=$3 layout='layout\MainWindow.xml'
    shift 3
    local options=(--scale "$E2E_SCALE" --lang "$E2E_LANG" --size "$size")
    if [ "$kind" = about ]; then
        layout='layout\about.xml'
        options+=("${E2E_ABOUT_OPTIONS[@]}")
    else
        options+=(--rows "$E2E_ROWS")
        case $E2E_VIEW in
            loading) ;;
            fail | empty)
                options+=(--hide loadingHotfixLayout --show loadHotfixFailLayout
                    --text loadHotfixFailText "$(e2e_failure_text "$E2E_VIEW")")
                ;;
            result) options+=(--hide loadingHotfixLayout --show loadHotfixFinishLayout) ;;
            *) e2e_fail "unknown view \"$E2E_VIEW\"" ;;
        esac
        options+=("${E2E_MAIN_OPTIONS[@]}")
    fi
    "$E2E_LAYOUT_TOOL" "$mode" "$E2E_APP_DIR/res" "$layout" "${options[@]}" "$@"
}

e2e_rect() {
    local kind=main control=$1 geometry line x y w h l t r b rest
    case $1 in *:*) kind=${1%%:*} control=${1#*:} ;; esac
    geometry=$(e2e_window_geometry "$kind")
    read -r x y w h <<<"$geometry"
    line=$(e2e_layout rect "$kind" "${w}x${h}" "$control") ||
        e2e_fail "control \"$1\" is not shown in the ${w}x${h} window at ${E2E_SCALE}% ($E2E_VIEW view, $E2E_ROWS rows)"
    read -r l t r b rest <<<"$line"
    echo "$((x + l)) $((y + t)) $((x + r)) $((y + b)) $rest"
}

# "<width> <height>" of a window of that kind at E2E_SCALE, from its layout.
e2e_layout_size() {
    local layout='layout\MainWindow.xml'
    [ "${1:-main}" = about ] && layout='layout\about.xml'
    "$E2E_LAYOUT_TOOL" size "$E2E_APP_DIR/res" "$layout" --scale "$E2E_SCALE"
}

e2e_string() {
    "$E2E_LAYOUT_TOOL" string "$E2E_APP_DIR/res" "$E2E_LANG" "$@"
}

e2e_thumb() {
    local geometry x y w h line values i out=
    geometry=$(e2e_window_geometry main)
    read -r x y w h <<<"$geometry"
    line=$(e2e_layout thumb main "${w}x${h}" "$1") || e2e_fail "$1 does not scroll"
    read -r -a values <<<"$line"
    for i in 0 1 2 3 4 5 6 7; do
        out+="$((values[i] + (i % 2 == 0 ? x : y))) "
    done
    echo "${out% }"
}

e2e_shown_rows() {
    local geometry x y w h row l t r b rest
    geometry=$(e2e_window_geometry main)
    read -r x y w h <<<"$geometry"
    e2e_layout rows main "${w}x${h}" "$1" | while read -r row l t r b rest; do
        echo "$row $((x + l)) $((y + t)) $((x + r)) $((y + b)) $rest"
    done
}

e2e_focus() {
    local kind=${1:-main} geometry x y w h line name l t r b rest
    geometry=$(e2e_window_geometry "$kind")
    read -r x y w h <<<"$geometry"
    line=$(e2e_layout focus "$kind" "${w}x${h}") || e2e_fail "nothing has the focus in the $kind window"
    read -r name l t r b rest <<<"$line"
    echo "$name $((x + l)) $((y + t)) $((x + r)) $((y + b)) $rest"
}
