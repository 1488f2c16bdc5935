# The minimise button minimises the window (Windows reports it iconic; with no
# window manager Wine draws it as a small title bar at the screen's bottom left,
# and where the window was the screen is bare); the close button ends the process with exit code 0 and its
# window goes away; a later launch starts normally (the single-instance mutex
# ended with the first process).
E2E_VIEW=result
E2E_ROWS=1
e2e_start_and_wait_list
geometry=$(e2e_window_geometry)
read -r x y width height <<<"$geometry"

e2e_click minButton
e2e_wait_window_flag minimized 1 "the minimise button did not minimise the window"
iconic=$(e2e_window_geometry)
read -r _ _ icon_width icon_height <<<"$iconic"
[ "$icon_width" -lt "$width" ] && [ "$icon_height" -lt "$height" ] ||
    e2e_fail "X still shows the minimised window at full size ($iconic)"
shot=$(e2e_screenshot minimised)
colours=$(convert "$shot" -crop "${width}x${height}+$x+$y" +repage -format '%k' info:)
[ "$colours" -le 2 ] || e2e_fail "the minimised window is still drawn where it was ($shot)"

# Back through the single-instance path, then closed by its button.
e2e_start
code=$(e2e_wait_exit 2 60)
[ "$code" = 0 ] || e2e_fail "the second launch ended with $code"
e2e_wait_window 15
e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button, expected 0"
e2e_wait_no_window 15
if e2e_x_window main >/dev/null; then
    e2e_fail "X still shows the main window after closing"
fi
e2e_keep_log first

e2e_start_and_wait_list
e2e_expect_layout_texts main
e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
e2e_check_texts later-launch 15
e2e_click closeButton
code=$(e2e_wait_exit 3 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the later launch's close button, expected 0"
