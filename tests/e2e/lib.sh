# Helpers of the end-to-end scenarios (sourced by run.sh; the scenarios call them).
# A scenario runs in its own fresh Wine prefix, on its own Xvfb display, with
# dist/windows/ staged as C:\OrvelleEx\ and the helper e2e_ui.exe as
# C:\e2e\e2e_ui.exe. Everything it leaves (program log, screenshots, Wine
# output) is under $E2E_OUT (build/e2e/<scenario>/).
#
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
#                  input helpers below add the scrolls and keys they give it
#   E2E_ABOUT_OPTIONS  the same for the About dialog
#
#   e2e_begin NAME             fresh prefix and staged program for scenario NAME
#   e2e_registry <<'REG'       imports registry lines (regedit syntax) into the prefix
#   e2e_hotfixes <LIST         WMI reports the hotfixes of LIST instead of Wine's one
#   e2e_wmi_fail HRESULT [STAGE [AFTER]]  a WMI call fails; e2e_wmi_fail none: no more
#   e2e_wmi_slow MS            the hotfixes come MS ms after the query (0: at once)
#   e2e_wmi_calls              what the program asked of WMI, a line per call
#   e2e_gate_wmi               makes the next WMI query wait
#   e2e_wait_wmi_held [S]      waits until the query waits at the gate
#   e2e_release_wmi            lets it go on
#   e2e_start                  starts E2E_EXE, C:\OrvelleEx\OrvelleEx.exe unless a test
#                              sets another (launch N = 1, 2, ...; sets E2E_LAUNCH)
#   e2e_start_and_wait_list    e2e_start, then waits for the window and the loaded list
#   e2e_wait_window [S] [KIND] waits until the window is shown (Win32 and X agree)
#   e2e_wait_no_window [S] [KIND]  waits until the window is gone
#   e2e_window_state [KIND]    "<l> <t> <r> <b> <minimized> <enabled> <foreground>" or "none"
#   e2e_wait_window_flag FIELD VALUE MESSAGE [KIND]  waits until FIELD of the state
#                              (minimized, enabled or foreground) is VALUE
#   e2e_window_geometry [KIND] "<x> <y> <width> <height>" of the window as X shows it
#   e2e_window_icons           the sizes of the main window's icons as X sees them ("16 32")
#   e2e_rect CONTROL           a control's screen rectangle "<l> <t> <r> <b>", then its
#                              font size, style (1 bold, 0 not, + 2 underlined) and text
#                              colour (AARRGGBB)
#   e2e_click CONTROL          clicks the centre of a control (of a link "NAME#N" where
#                              the screen shows it), then moves the mouse away
#   e2e_hover CONTROL          moves the mouse over the centre of a control
#   e2e_layout_size [KIND]     "<width> <height>" of the window from its layout at E2E_SCALE
#   e2e_string KEY [N...]      the language text of KEY in E2E_LANG (numbers put in)
#   e2e_expect_text CONTROL TEXT [COLOUR]   the control shows TEXT (in COLOUR, AARRGGBB)
#   e2e_expect_no_text CONTROL TEXT [COLOUR]  the control does not show TEXT
#   e2e_expect_layout_texts [KIND]  every text the window's layout shows, in the layout's colours
#   e2e_check_texts NAME [S]   waits until the screen shows every expected text where
#                              expected (drawn by the toolkit's own painter, compared
#                              pixel by pixel); keeps the last screenshot as NAME.png
#   e2e_msaa COMMAND [KIND] [NAME]  the window as a screen reader reads it, from another
#                              process (tools/e2e_msaa.cpp): tree (one element a line:
#                              role "name" [states] @l,t,r,b), check, press NAME, hold
#   e2e_wait_exit [N] [S]      waits for launch N to end; prints its full exit code
#   e2e_log                    the program's log records (every log file of the prefix)
#   e2e_log_has TEXT           true when a log record contains TEXT
#   e2e_wait_log TEXT [S]      waits until a log record contains TEXT
#   e2e_crop_window NAME [KIND]  crops the screenshot NAME.png to the window (NAME-window.png)
#   e2e_key KEY [KIND]         presses a key (xdotool's name: Tab, shift+Tab, Return,
#                              Escape, Next, Prior, Home, End) in the window of that kind
#                              and tells the layout tool
#   e2e_wheel CONTROL N        N notches of the wheel over CONTROL (main window; down, or
#                              up when N is negative), told to the layout tool too
#   e2e_drag_thumb CONTAINER DY  drags the scroll thumb of CONTAINER DY pixels down, told too
#   e2e_thumb CONTAINER        "<l> <t> <r> <b>" of its scroll bar's track, then of its
#                              thumb, on the screen
#   e2e_shown_rows NAME        the rows whose control NAME is wholly in the list's view, with
#                              their screen rectangles as e2e_rect gives them, a line each
#   e2e_focus [KIND]           the control with the keyboard focus (NAME or NAME@ROW) and
#                              its screen rectangle
#   e2e_pixel SHOT X Y         the colour RRGGBB of a pixel of a screenshot
#   e2e_wait_focus_ring [KIND] [S]  waits until the focus indicator shows round the control
#                              the layout tool says has the focus; prints its name
#   e2e_focus_ring_shows [KIND]  the same, looked at once (succeeds when it shows)
#   e2e_keep_log [TAG]         moves the program's log files to $E2E_OUT/program-log/TAG/
#   e2e_close_and_keep_log TAG WHAT  closes the latest launch by its close button (exit
#                              code 0, window gone) and keeps its log as TAG; WHAT names the run
#   e2e_record_htm_opens       .htm files open through e2e_ui.exe's "record"
#   e2e_expect_opened PATH ACTION  waits until the .htm handler was given PATH (by ACTION)
#   e2e_screenshot NAME        saves $E2E_OUT/NAME.png (the whole screen); prints its path
#   e2e_fail MESSAGE           ends the scenario as failed
#   e2e_end                    waits for the prefix's processes (kills stragglers)
#
# WMI: e2e_wmi.dll (tools/e2e_wmi.cpp, where its files are described) stands in
# for the WbemLocator class once a scenario calls one of the WMI helpers. With
# e2e_hotfixes it serves a list; without, Wine's WMI answers (one hotfix, below).
# A list is one hotfix a line, HotFixID, Description and InstalledOn separated by
# tabs; "<null>" is a null value, "<missing>" an absent property. printf writes
# the tabs, three arguments a line; "< <(...)", not a pipe, keeps e2e_hotfixes in
# the scenario's shell (it sets E2E_ROWS); the list may change between two loads:
#   e2e_hotfixes < <(printf '%s\t%s\t%s\n' KB5034441 'Security Update' 1/9/2024 \
#       KB5034439 '' '<null>')
#   e2e_hotfixes < <(for i in $(seq 1 60); do
#       printf 'KB50%05d\tUpdate\t3/%d/2024\n' "$i" "$((i % 28 + 1))"; done)
#   e2e_wmi_fail 0x80041003             (ExecQuery fails: the failure view)
#   e2e_wmi_fail 0x80041001 Next 2      (Next fails after two hotfixes)
#   e2e_wmi_fail 0x40004 Next           (Next times out, WBEM_S_TIMEDOUT)
#   e2e_wmi_slow 1500                   (the loading view shows for 1.5 s)
# e2e_wmi_calls shows what the program asked for ("ConnectServer ROOT\CIMV2 ...",
# "Next timeout=60000 count=1 -> 0x00000001 returned=0", "all objects released").

source "$(dirname "${BASH_SOURCE[0]}")/lib/servicing.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib/cumulative.sh"

# A failing $(...) inside a helper ends the scenario too.
shopt -s inherit_errexit

E2E_MAIN_CLASS=OrvelleExUI
E2E_ABOUT_CLASS=OrvelleAboutExUI
E2E_TITLE=OrvelleEx
E2E_BUILD_DIR=${E2E_BUILD_DIR:-${ORVELLE_WINDOWS_BUILD_DIR:-build/windows}}
E2E_LAYOUT_TOOL=${E2E_LAYOUT_TOOL:-$ORVELLE_ROOT/${ORVELLE_LINUX_BUILD_DIR:-build/linux}/tests/e2e/e2e_layout}

# What Wine's WMI reports: one hotfix (Win32_QuickFixEngineering), its category
# and its date as Wine writes it (day first, "22/2/2022").
E2E_WINE_HOTFIX=KB1234567
E2E_WINE_HOTFIX_NUMBER=1234567
E2E_WINE_HOTFIX_DESCRIPTION_KEY=IDS_HOTFIX_DESC_UPDATE
# The first number cannot be a month, so the program reads it day first.
E2E_WINE_HOTFIX_DATE_SHOWN=2022-2-22

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_begin() {
    E2E_NAME=$1
    E2E_OUT=$ORVELLE_ROOT/build/e2e/$E2E_NAME
    E2E_PREFIX=$E2E_OUT/prefix
    E2E_LAUNCH=0
    E2E_SCALE=100
    E2E_VIEW=loading
    E2E_ROWS=0
    E2E_LANG=en-US
    E2E_MAIN_OPTIONS=()
    E2E_ABOUT_OPTIONS=()
    E2E_TEXTS=()
    E2E_WMI_REGISTERED=0
    mkdir -p "$E2E_OUT"
    orvelle_wine_prefix "$E2E_PREFIX"
    export WINEPREFIX=$E2E_PREFIX
    E2E_APP_DIR=$E2E_PREFIX/drive_c/OrvelleEx
    E2E_EXE='C:\OrvelleEx\OrvelleEx.exe'
    mkdir -p "$E2E_APP_DIR" "$E2E_PREFIX/drive_c/e2e"
    cp -r "$ORVELLE_ROOT/dist/windows/." "$E2E_APP_DIR/"
    cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_ui.exe" \
        "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_wmi.dll" "$E2E_PREFIX/drive_c/e2e/"
    E2E_LOG_DIR=$(orvelle_wine_localappdata "$E2E_PREFIX")/Orvelle
}

# A Unix path as Wine's drive Z: sees it.
e2e_winpath() {
    local path=$1
    echo "Z:${path//\//\\}"
}

e2e_ui() {
    wine 'C:\e2e\e2e_ui.exe' "$@" 2>>"$E2E_OUT/wine.log" | tr -d '\r'
}

# Imports registry lines (regedit syntax, without the header) into the prefix.
e2e_registry() {
    local file=$E2E_OUT/registry-$RANDOM.reg
    { echo 'Windows Registry Editor Version 5.00'; echo; cat; } >"$file"
    wine regedit /S "$(e2e_winpath "$file")" 2>>"$E2E_OUT/wine.log" ||
        e2e_fail "regedit could not import $file"
}

# e2e_wmi.dll becomes the WbemLocator class (once per prefix).
e2e_wmi_register() {
    [ "$E2E_WMI_REGISTERED" = 1 ] && return 0
    e2e_registry <<'REG'
[HKEY_CLASSES_ROOT\CLSID\{4590F811-1D3A-11D0-891F-00AA004B2E24}\InprocServer32]
@="C:\\e2e\\e2e_wmi.dll"
"ThreadingModel"="Both"
REG
    E2E_WMI_REGISTERED=1
}

# Writes a file into C:\e2e\ whole (e2e_wmi.dll may read it at any moment).
e2e_wmi_file() {
    local file=$E2E_PREFIX/drive_c/e2e/$1
    cat >"$file.new"
    mv -f "$file.new" "$file"
}

e2e_hotfixes() {
    local list line number=0 rows=0 tabs
    list=$(cat)
    while IFS= read -r line; do
        number=$((number + 1))
        [ -n "$line" ] || continue
        tabs=${line//[^$'\t']/}
        [ "${#tabs}" = 2 ] ||
            e2e_fail "e2e_hotfixes: line $number has $((${#tabs} + 1)) tab-separated fields, not 3: $line"
        rows=$((rows + 1))
    done <<<"$list"
    printf '%s\n' "$list" | e2e_wmi_file hotfixes.txt
    E2E_ROWS=$rows
    e2e_wmi_register
}

e2e_wmi_fail() {
    local stage=${2:-ExecQuery}
    if [ "$1" = none ]; then
        rm -f "$E2E_PREFIX/drive_c/e2e/wmi-fail.txt"
        return 0
    fi
    case $stage in
        CreateInstance | ConnectServer | ExecQuery | Next) ;;
        *) e2e_fail "e2e_wmi_fail: no WMI call \"$stage\"" ;;
    esac
    [ -f "$E2E_PREFIX/drive_c/e2e/hotfixes.txt" ] ||
        e2e_fail "e2e_wmi_fail: Wine's WMI cannot fail; give a list first (e2e_hotfixes)"
    echo "$stage $1 ${3:-0}" | e2e_wmi_file wmi-fail.txt
}

e2e_wmi_slow() {
    [ -f "$E2E_PREFIX/drive_c/e2e/hotfixes.txt" ] ||
        e2e_fail "e2e_wmi_slow: Wine's WMI cannot be slowed; give a list first (e2e_hotfixes)"
    echo "$1" | e2e_wmi_file wmi-slow.txt
}

e2e_wmi_calls() {
    local file=$E2E_PREFIX/drive_c/e2e/wmi-calls.txt
    [ -f "$file" ] && cat "$file"
    return 0
}

# The next WMI query (served or Wine's) waits in e2e_wmi.dll until
# e2e_release_wmi; e2e_wait_wmi_held waits until it is there. Each gate holds once.
e2e_gate_wmi() {
    rm -f "$E2E_PREFIX/drive_c/e2e/wmi-held" "$E2E_PREFIX/drive_c/e2e/wmi-release"
    touch "$E2E_PREFIX/drive_c/e2e/wmi-hold"
    e2e_wmi_register
}

e2e_wait_wmi_held() {
    local seconds=${1:-60} i
    for i in $(seq 1 $((seconds * 4))); do
        [ -e "$E2E_PREFIX/drive_c/e2e/wmi-held" ] && return 0
        sleep 0.25
    done
    e2e_fail "the WMI query did not reach the gate within ${seconds}s"
}

e2e_release_wmi() {
    touch "$E2E_PREFIX/drive_c/e2e/wmi-release"
}

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

e2e_window_class() {
    case ${1:-main} in
        main) echo "$E2E_MAIN_CLASS" ;;
        about) echo "$E2E_ABOUT_CLASS" ;;
        *) e2e_fail "unknown window kind \"$1\"" ;;
    esac
}

e2e_window_state() {
    local class
    class=$(e2e_window_class "${1:-main}")
    e2e_ui window "$class" "$E2E_TITLE" || true
}

# The visible X window of that kind: both are named "OrvelleEx"; Wine marks the
# About dialog (owned by the main window) as a dialog.
e2e_x_window() {
    local want=_NET_WM_WINDOW_TYPE_NORMAL id type
    [ "${1:-main}" = about ] && want=_NET_WM_WINDOW_TYPE_DIALOG
    for id in $(xdotool search --onlyvisible --name "^${E2E_TITLE}\$" 2>/dev/null || true); do
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

# "<first> <last>" of each run of columns (or rows) of a black and white image
# that hold white.
e2e_white_runs() {
    local image=$1 axis=${2:-columns} size
    size=$(identify -format '%wx1!' "$image")
    [ "$axis" = rows ] && size=$(identify -format '1x%h!' "$image")
    convert "$image" -scale "$size" -threshold 0 -depth 8 txt:- |
        awk -F'[,: ]+' -v rows="$([ "$axis" = rows ] && echo 1 || echo 0)" '
            /^#/ { next }
            /#FFFFFF/ {
                i = rows ? $2 : $1
                if (n && i == last + 1) { last = i; next }
                if (n) print first, last
                first = i; last = i; n = 1
            }
            END { if (n) print first, last }'
}

# "<x> <y>" of link N of a text control ("NAME#N") as the screen shows it: the
# layout tool knows the control and the link's colour, but only the real font
# knows where in the control the link is drawn. Its underline joins its words.
e2e_link_centre() {
    local rect l t r b colour mask runs first last rows top bottom
    local index=${1##*#}
    rect=$(e2e_rect "$1")
    read -r l t r b _ _ colour <<<"$rect"
    mask=$E2E_OUT/link-mask.png
    convert "$(e2e_screenshot link)" -crop "$((r - l))x$((b - t))+$l+$t" +repage -fuzz 10% \
        -fill black +opaque "#${colour:2}" -fill white -opaque "#${colour:2}" "$mask"
    runs=$(e2e_white_runs "$mask")
    read -r first last <<<"$(sed -n "$((index + 1))p" <<<"$runs")"
    [ -n "$last" ] || e2e_fail "link $index of ${1%#*} is not on the screen (link.png)"
    convert "$mask" -crop "$((last - first + 1))x$((b - t))+$first+0" +repage "$mask"
    rows=$(e2e_white_runs "$mask" rows)
    top=$(head -n1 <<<"$rows" | cut -d' ' -f1)
    bottom=$(tail -n1 <<<"$rows" | cut -d' ' -f2)
    echo "$((l + (first + last) / 2)) $((t + (top + bottom) / 2))"
}

e2e_click() {
    local rect left top right bottom x y
    if [[ $1 == *'#'* ]]; then
        read -r x y <<<"$(e2e_link_centre "$1")"
    else
        rect=$(e2e_rect "$1")
        read -r left top right bottom _ <<<"$rect"
        x=$(((left + right) / 2)) y=$(((top + bottom) / 2))
    fi
    # No --sync: it waits for a motion that never comes when the pointer is already there.
    xdotool mousemove "$x" "$y" sleep 0.1 click 1 sleep 0.1 mousemove 0 0
}

e2e_hover() {
    local rect left top right bottom
    rect=$(e2e_rect "$1")
    read -r left top right bottom _ <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2))
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

# Expected texts: "<l> <t> <r> <b> <size> <style> <colour>", a tab, the text, a tab, a label.
e2e_expect_text() {
    local rect left top right bottom size bold colour
    rect=$(e2e_rect "$1")
    read -r left top right bottom size bold colour <<<"$rect"
    E2E_TEXTS+=("$left $top $right $bottom $size $bold ${3:-$colour}"$'\t'"$2"$'\t'"$1")
}

e2e_expect_no_text() {
    local rect left top right bottom size bold colour
    rect=$(e2e_rect "$1")
    read -r left top right bottom size bold colour <<<"$rect"
    E2E_TEXTS+=("$left $top $right $bottom $size $bold ${3:-$colour}"$'\t'"$2"$'\t'"!$1")
}

e2e_expect_layout_texts() {
    local kind=${1:-main} geometry lines x y w h fields text l t r b style
    geometry=$(e2e_window_geometry "$kind")
    read -r x y w h <<<"$geometry"
    lines=$(e2e_layout texts "$kind" "${w}x${h}") || e2e_fail "the layout tool failed on the $kind window"
    while IFS=$'\t' read -r fields text; do
        [ -n "$fields" ] || continue
        read -r l t r b style <<<"$fields"
        E2E_TEXTS+=("$((x + l)) $((y + t)) $((x + r)) $((y + b)) $style"$'\t'"$text"$'\t'"$kind layout")
    done <<<"$lines"
}

# The most common colour of an image (a label's background), as FFRRGGBB.
e2e_background() {
    # sed reads to the end, so no writer in the pipe dies of SIGPIPE.
    convert "$1" -format %c histogram:info:- | sort -rn |
        sed -n '1s/.*#\([0-9A-Fa-f]\{6\}\).*/FF\1/p'
}

# Renders the expected texts over the backgrounds of the screenshot $1 (one
# Wine call) into $E2E_OUT/texts/<i>.png; prints how many it rendered.
e2e_render_texts() {
    local shot=$1 dir=$E2E_OUT/texts i=0 entry fields text l t r b size bold colour bg
    local specs=$dir/specs.txt
    mkdir -p "$dir"
    : >"$specs"
    for entry in "${E2E_TEXTS[@]}"; do
        i=$((i + 1))
        IFS=$'\t' read -r fields text _ <<<"$entry"
        read -r l t r b size bold colour <<<"$fields"
        convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$dir/$i-screen.png"
        bg=$(e2e_background "$dir/$i-screen.png")
        printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$(e2e_winpath "$dir/$i.bmp")" "$size" "$bold" "$colour" \
            "$bg" "$text" >>"$specs"
    done
    e2e_ui text "$(e2e_winpath "$specs")" >/dev/null || e2e_fail "e2e_ui could not draw the texts"
    for i in $(seq 1 "$i"); do
        # Only the glyphs: the cell's empty margin may reach past a clipped control.
        convert "$dir/$i.bmp" -trim +repage "$dir/$i.png"
    done
}

# True when the text image $2 appears somewhere in the screen crop $1.
e2e_image_contains() {
    local result differing
    result=$(compare -metric AE -fuzz 4% -subimage-search "$1" "$2" null: 2>&1 || true)
    differing=${result%% *}
    [[ $differing =~ ^[0-9.e+]+$ ]] || return 1
    # A handful of edge pixels may differ where a neighbour's drawing touches the text.
    awk -v d="$differing" 'BEGIN { exit !(d <= 3) }'
}

e2e_check_texts() {
    local name=$1 dir=$E2E_OUT/texts shot missing entry text label i
    local deadline=$((SECONDS + ${2:-10}))
    [ "${#E2E_TEXTS[@]}" -gt 0 ] || e2e_fail "e2e_check_texts: no text expected"
    while :; do
        shot=$(e2e_screenshot "$name")
        # The backgrounds come from this screenshot, so each try renders again.
        e2e_render_texts "$shot"
        missing=
        i=0
        for entry in "${E2E_TEXTS[@]}"; do
            i=$((i + 1))
            IFS=$'\t' read -r _ text label <<<"$entry"
            if [[ $label == '!'* ]]; then
                if e2e_image_contains "$dir/$i-screen.png" "$dir/$i.png"; then
                    missing+="${missing:+, }not \"$text\" (${label#!}, texts/$i.png)"
                fi
            elif ! e2e_image_contains "$dir/$i-screen.png" "$dir/$i.png"; then
                missing+="${missing:+, }\"$text\" ($label, texts/$i.png)"
            fi
        done
        if [ -z "$missing" ]; then
            E2E_TEXTS=()
            return 0
        fi
        [ "$SECONDS" -lt "$deadline" ] || break
        sleep 0.5
    done
    e2e_fail "not shown as expected in $name.png: $missing"
}

e2e_msaa() {
    local command=$1 class
    class=$(e2e_window_class "${2:-main}")
    shift $(($# < 2 ? $# : 2))
    [ -f "$E2E_PREFIX/drive_c/e2e/e2e_msaa.exe" ] ||
        cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_msaa.exe" "$E2E_PREFIX/drive_c/e2e/"
    # Line by line, so a caller may read "held" while the tool goes on.
    wine 'C:\e2e\e2e_msaa.exe' "$command" "$class" "$E2E_TITLE" "$@" 2>>"$E2E_OUT/wine.log" |
        sed -u 's/\r$//'
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

# Moves the program's log files aside (to $E2E_OUT/program-log/<tag>/), so the
# next launch's records are read on their own.
e2e_keep_log() {
    local tag=${1:-launch-$E2E_LAUNCH}
    mkdir -p "$E2E_OUT/program-log/$tag"
    if [ -d "$E2E_LOG_DIR" ]; then
        find "$E2E_LOG_DIR" -maxdepth 1 -name '*.log' -exec mv -t "$E2E_OUT/program-log/$tag" {} +
    fi
}

# The window's part of the screenshot NAME.png, as NAME-window.png (for docs/).
e2e_crop_window() {
    local geometry x y w h
    geometry=$(e2e_window_geometry "${2:-main}")
    read -r x y w h <<<"$geometry"
    convert "$E2E_OUT/$1.png" -crop "${w}x${h}+$x+$y" +repage -strip "$E2E_OUT/$1-window.png"
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

# .htm files open through e2e_ui.exe's "record", which writes the path it was
# given to C:\e2e\opened.txt.
e2e_record_htm_opens() {
    e2e_registry <<'REG'
[HKEY_CLASSES_ROOT\.htm]
@="OrvelleE2E.htm"

[HKEY_CLASSES_ROOT\OrvelleE2E.htm\shell\open\command]
@="\"C:\\e2e\\e2e_ui.exe\" record \"C:\\e2e\\opened.txt\" \"%1\""
REG
}

e2e_expect_opened() {
    local expected=$1 action=$2 opened=$E2E_PREFIX/drive_c/e2e/opened.txt i got
    for i in $(seq 1 60); do
        [ -s "$opened" ] && break
        sleep 0.25
    done
    [ -s "$opened" ] || e2e_fail "$action opened nothing through the .htm handler"
    got=$(tr -d '\r' <"$opened")
    [ "$got" = "$expected" ] || e2e_fail "the .htm handler was given [$got], expected [$expected]"
}

e2e_end() {
    orvelle_wine_finish "$E2E_PREFIX" 20 || e2e_fail "processes were still running at the end"
}

# Input that moves the focus or scrolls: given to the program through X, and to
# the layout tool (E2E_MAIN_OPTIONS / E2E_ABOUT_OPTIONS) so that where things
# are next is computed as the program computes it.
e2e_key() {
    local key=$1 kind=${2:-main}
    xdotool key "$key"
    case $key in
        Return | Escape) ;;  # they act; they move nothing the tool lays out
        *) if [ "$kind" = about ]; then
               E2E_ABOUT_OPTIONS+=(--key "$key")
           else
               E2E_MAIN_OPTIONS+=(--key "$key")
           fi ;;
    esac
}

e2e_wheel() {
    local rect left top right bottom button=5 notches=$2 way=--wheel-down
    if [ "$notches" -lt 0 ]; then
        button=4 notches=$((-notches)) way=--wheel-up
    fi
    rect=$(e2e_rect "$1")
    read -r left top right bottom _ <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) sleep 0.1 \
        click --repeat "$notches" --delay 50 "$button"
    E2E_MAIN_OPTIONS+=("$way" "$1" "$notches")
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

e2e_drag_thumb() {
    local track_l thumb_t thumb_b x y
    read -r track_l _ track_r _ _ thumb_t _ thumb_b <<<"$(e2e_thumb "$1")"
    x=$(((track_l + track_r) / 2)) y=$(((thumb_t + thumb_b) / 2))
    xdotool mousemove "$x" "$y" sleep 0.1 mousedown 1 sleep 0.1 mousemove "$x" $((y + $2 / 2)) \
        sleep 0.1 mousemove "$x" $((y + $2)) sleep 0.1 mouseup 1 sleep 0.1 mousemove 0 0
    E2E_MAIN_OPTIONS+=(--drag-thumb "$1" "$2")
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

e2e_pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n1
}

# The indicator's outer ring is #191919, 2 px wide at 100 % (scaled), 1 to 3
# px outside the control; its middle is sampled left of the control's centre.
# e2e_focus_ring_shows [KIND] prints the focused control's name and succeeds
# when its ring shows on a fresh screenshot.
e2e_focus_ring_shows() {
    local kind=${1:-main} name l t r b w shot colour
    read -r name l t r b _ <<<"$(e2e_focus "$kind")"
    w=$(((E2E_SCALE + 50) / 100))
    shot=$(e2e_screenshot "focus-$name")
    colour=$(e2e_pixel "$shot" $((l - 2 * w)) $(((t + b) / 2)))
    echo "$name"
    [ "$colour" = 191919 ]
}

e2e_wait_focus_ring() {
    local kind=${1:-main} seconds=${2:-10} name i
    for i in $(seq 1 $((seconds * 2))); do
        if name=$(e2e_focus_ring_shows "$kind"); then
            echo "$name"
            return 0
        fi
        sleep 0.5
    done
    e2e_fail "no focus indicator round $name (pixel left of it in focus-$name.png is not the ring's)"
}
