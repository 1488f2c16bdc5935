# The long list, sourced by the scenarios that run it at one scale each
# (14-long-list.sh, 15-long-list-150.sh): 60 hotfixes from the stand-in WMI
# provider, far taller than the list's view.
#
# First launch, by the mouse: the scroll bar shows, with its thumb; the wheel
# reaches every row (six notches at a time, every row wholly in view at some
# point, its identifier drawn where the layout tool puts it); a hovered row
# button right after a scroll shows its hover colour, and a click on it
# uninstalls that row; dragging the thumb reaches every row again.
# Second launch, by the keyboard alone: Tab goes through the title bar, the tip
# button (the tip shows while it has the focus) and every row's "Learn more" link
# and button, each scrolled into view with the focus indicator round it; Home and
# End jump; Enter on the 60th row's button uninstalls it.

cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
export FAKE_WUSA_EXIT_CODE=0
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
long_list_record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt

long_list_id() {
    printf 'KB50%05d' "$(($1 + 1))"
}

# Waits until row $1 has been uninstalled with exactly its number.
long_list_expect_uninstalled() {
    local row=$1 id expected i
    id=$(long_list_id "$row")
    expected="$E2E_WUSA_COMMAND /uninstall /kb:${id#KB}"
    e2e_wait_log 'unstall status ui callback status:0(' 30
    e2e_log_has "click hotfix name:$id(MainWindow::OnClick)" || e2e_fail "no click record for $id"
    [ "$(cat "$long_list_record")" = "$expected" ] ||
        e2e_fail "wusa.exe got [$(cat "$long_list_record")], expected [$expected]"
    E2E_MAIN_OPTIONS+=(--hide "btnUninstall@$row" --show "UninstallResultLab@$row"
        --show "hideFromUpdateLink@$row")
    e2e_expect_text "UninstallResultLab@$row" "$(e2e_string IDS_UNINSTALL_SUCCESS_CODE)" FF64BB5C
    e2e_check_texts "uninstalled-$row" 15
}

# Checks the identifiers of the rows wholly in view and notes them as seen.
long_list_check_view() {
    local name=$1 row rows colour
    rows=$(e2e_shown_rows hotfixNameText | cut -d' ' -f1)
    [ -n "$rows" ] || e2e_fail "no row wholly in the list's view ($name)"
    for row in $rows; do
        colour=
        [ "$row" = "${LONG_LIST_DONE:-}" ] && colour=FF999999  # an uninstalled row's grey
        e2e_expect_text "hotfixNameText@$row" "$(long_list_id "$row")" $colour
        LONG_LIST_SEEN[$row]=1
    done
    e2e_check_texts "$name" 15
}

long_list_expect_all_seen() {
    local row
    for row in $(seq 0 59); do
        [ "${LONG_LIST_SEEN[$row]:-}" = 1 ] || e2e_fail "row $row was never wholly in view ($1)"
    done
}

# "<r> <g> <b>" of a hex colour.
long_list_rgb() {
    echo "$((16#${1:0:2})) $((16#${1:2:2})) $((16#${1:4:2}))"
}

# True when two colours differ by at most 3 in every channel.
long_list_near() {
    local r1 g1 b1 r2 g2 b2
    read -r r1 g1 b1 <<<"$(long_list_rgb "$1")"
    read -r r2 g2 b2 <<<"$(long_list_rgb "$2")"
    (((r1 - r2) * (r1 - r2) <= 9 && (g1 - g2) * (g1 - g2) <= 9 && (b1 - b2) * (b1 - b2) <= 9))
}

e2e_hotfixes < <(for i in $(seq 1 60); do
    printf 'KB50%05d\tUpdate\t3/%d/2024\n' "$i" "$((i % 28 + 1))"
done)
E2E_VIEW=result
# The main window widens the count title for a two-digit count, and moves the tip with it.
long_list_title=(--attr hotfixFirstTitle width 62 --attr hotfixDiscribeLayout pos 140,25,500,157)
E2E_MAIN_OPTIONS=("${long_list_title[@]}")

# --- by the mouse ---
e2e_start
e2e_wait_window 60
e2e_wait_log 'get install list ret:0' 60
declare -A LONG_LIST_SEEN=()
long_list_check_view wheel-0
# The thumb: #66000000 over the white list is #999999.
read -r _ _ _ _ thumb_l thumb_t thumb_r thumb_b <<<"$(e2e_thumb hotfixListView)"
colour=$(e2e_pixel "$E2E_OUT/wheel-0.png" $(((thumb_l + thumb_r) / 2)) $(((thumb_t + thumb_b) / 2)))
[ "$colour" = 999999 ] || e2e_fail "no scroll thumb where the layout puts it (pixel $colour)"

for step in $(seq 1 30); do
    e2e_wheel hotfixListView 6
    long_list_check_view "wheel-$step"
    [ "$step" = 2 ] && e2e_crop_window "wheel-$step" && cp "$E2E_OUT/wheel-$step-window.png" "$E2E_OUT/long-list-window.png"
    [ "${LONG_LIST_SEEN[59]:-}" = 1 ] && break
done
long_list_expect_all_seen wheel

# Right after a scroll (the mouse stays over the list), the row button under the
# mouse is the one the layout tool puts there: its hover colour, then a click.
e2e_wheel hotfixListView -9
rows=($(e2e_shown_rows btnUninstall | cut -d' ' -f1))
target=${rows[$((${#rows[@]} / 2))]}
read -r l t r b _ <<<"$(e2e_rect "btnUninstall@$target")"
idle=$(e2e_pixel "$(e2e_screenshot before-hover)" $((l + 4)) $(((t + b) / 2)))
e2e_hover "btnUninstall@$target"
sleep 0.5
hot=$(e2e_pixel "$(e2e_screenshot hover)" $((l + 4)) $(((t + b) / 2)))
# Over white: #140A59F7 gives #EBF1FE idle, #260A59F7 gives #DAE6FD under the mouse.
long_list_near "$idle" EBF1FE || e2e_fail "row $target's button is $idle before the hover, not EBF1FE"
long_list_near "$hot" DAE6FD || e2e_fail "row $target's button is $hot under the mouse, not DAE6FD"
e2e_click "btnUninstall@$target"
long_list_expect_uninstalled "$target"
LONG_LIST_DONE=$target

# Every row again by the thumb: back to the top, then three quarters of the
# thumb's height at a time (its height is the view's share: a view each).
read -r _ track_t _ _ _ thumb_t _ thumb_b <<<"$(e2e_thumb hotfixListView)"
e2e_drag_thumb hotfixListView $((track_t - thumb_t))
declare -A LONG_LIST_SEEN=()
long_list_check_view thumb-0
for step in $(seq 1 30); do
    e2e_drag_thumb hotfixListView $(((thumb_b - thumb_t) * 3 / 4))
    long_list_check_view "thumb-$step"
    [ "${LONG_LIST_SEEN[59]:-}" = 1 ] && break
done
long_list_expect_all_seen thumb

e2e_click closeButton
code=$(e2e_wait_exit "$E2E_LAUNCH" 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
e2e_wait_no_window 15
e2e_keep_log mouse

# --- by the keyboard ---
E2E_MAIN_OPTIONS=("${long_list_title[@]}")
LONG_LIST_DONE=
rm -f "$long_list_record"
e2e_start
e2e_wait_window 60
e2e_wait_log 'get install list ret:0' 60
for expected in aboutButton minButton closeButton btnUninstallTip; do
    e2e_key Tab
    name=$(e2e_wait_focus_ring)
    [ "$name" = "$expected" ] || e2e_fail "Tab reached $name, expected $expected"
done
E2E_MAIN_OPTIONS+=(--show hotfixDiscribeLayout)
e2e_expect_text hotfixDescribeTitle "$(e2e_string IDS_HOTFIX_DESCRIBE_TITLE)"
e2e_check_texts tip-by-focus 10
E2E_MAIN_OPTIONS+=(--hide hotfixDiscribeLayout)

for row in $(seq 0 59); do
    e2e_key Tab
    name=$(e2e_wait_focus_ring)
    [ "$name" = "learnMoreLink@$row" ] || e2e_fail "Tab reached $name, expected learnMoreLink@$row"
    e2e_key Tab
    name=$(e2e_wait_focus_ring)
    [ "$name" = "btnUninstall@$row" ] || e2e_fail "Tab reached $name, expected btnUninstall@$row"
    if [ $((row % 10)) = 7 ]; then
        e2e_expect_text "hotfixNameText@$row" "$(long_list_id "$row")"
        e2e_check_texts "tab-$row" 10
        [ "$row" = 7 ] && e2e_crop_window "tab-$row" && cp "$E2E_OUT/tab-$row-window.png" "$E2E_OUT/focus-window.png"
    fi
done
e2e_key Home
[ "$(e2e_wait_focus_ring)" = learnMoreLink@0 ] || e2e_fail "Home did not reach the first row"
e2e_key End
[ "$(e2e_wait_focus_ring)" = btnUninstall@59 ] || e2e_fail "End did not reach the last row"
e2e_expect_text hotfixNameText@59 "$(long_list_id 59)"
e2e_check_texts end 10
e2e_key Return
long_list_expect_uninstalled 59

# The focus stayed on the row at work (its button went); Tab goes on from it,
# through its links (Learn more, Hide from Windows Update) and Hide updates round
# to the about button, and the keyboard closes the window too.
for _ in 1 2 3 4 5 6; do
    e2e_key Tab
done
[ "$(e2e_wait_focus_ring)" = closeButton ] || e2e_fail "the focus is not on the close button"
e2e_key Return
code=$(e2e_wait_exit "$E2E_LAUNCH" 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after Enter on the close button"
