# A second launch while the first runs: it exits with 0 without a window of its
# own, and the first window comes back restored and in front, both when another
# window covers it and when it is minimised. A window of the same class and
# title made by another program gets no message: the second launch checks that
# the window it finds belongs to this executable, elevated, and leaves a
# stranger's alone.
E2E_VIEW=result
E2E_ROWS=1
e2e_start_and_wait_list

# The first window shows in front: its texts are on the screen, not the cover's.
expect_main_in_front() {
    local state minimized foreground windows
    state=$(e2e_window_state)
    read -r _ _ _ _ minimized _ foreground <<<"$state"
    [ "$minimized" = 0 ] || e2e_fail "the first window is still minimised ($1: $state)"
    [ "$foreground" = 1 ] || e2e_fail "the first window is not the foreground window ($1: $state)"
    windows=$(xdotool search --onlyvisible --name "^${E2E_TITLE}\$" | wc -l)
    [ "$windows" = 1 ] || e2e_fail "$windows windows named $E2E_TITLE after the second launch ($1)"
    e2e_expect_layout_texts main
    e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
    e2e_check_texts "$1" 15
}

second_launch() {
    local code
    e2e_start
    code=$(e2e_wait_exit "$E2E_LAUNCH" 60)
    [ "$code" = 0 ] || e2e_fail "the second launch ended with $code, expected 0 ($1)"
}

# Covered by another window (a plain full-screen one that takes the foreground).
wine 'C:\e2e\e2e_ui.exe' cover 'C:\e2e\cover-release' >"$E2E_OUT/cover.log" 2>&1 &
e2e_wait_window_flag foreground 0 "the cover window did not take the foreground"
e2e_screenshot covered >/dev/null
second_launch covered
expect_main_in_front restored-from-behind
touch "$E2E_PREFIX/drive_c/e2e/cover-release"

# Minimised by its own button.
e2e_click minButton
e2e_wait_window_flag minimized 1 "the minimise button did not minimise the window"
second_launch minimised
expect_main_in_front restored-from-minimised

# A stranger's hidden window of the same class and title, made last, is the one
# FindWindowW finds first (so the window helpers, which look it up the same
# way, wait until it is gone): the second launch leaves it alone.
e2e_click minButton
e2e_wait_window_flag minimized 1 "the minimise button did not minimise the window"
wine 'C:\e2e\e2e_ui.exe' squat window 'C:\e2e\squat-release' >"$E2E_OUT/squat.log" 2>&1 &
squatter=$!
for i in $(seq 1 120); do
    grep -q squatting "$E2E_OUT/squat.log" 2>/dev/null && break
    sleep 0.5
done
grep -q squatting "$E2E_OUT/squat.log" || e2e_fail "the squatter made no window: $(cat "$E2E_OUT/squat.log")"
second_launch stranger-window
e2e_log_has 'window of another program left alone!' ||
    e2e_fail "the second launch did not leave the stranger's window alone"
# With the stranger gone, a second launch restores the first window again.
touch "$E2E_PREFIX/drive_c/e2e/squat-release"
wait "$squatter" || true
second_launch after-stranger
state=$(e2e_window_state)
read -r _ _ _ _ minimized _ foreground <<<"$state"
[ "$minimized" = 0 ] && [ "$foreground" = 1 ] ||
    e2e_fail "the first window did not come back once the stranger's had gone ($state)"

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "the first launch ended with $code after its close button"
