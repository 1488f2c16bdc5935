# Normal start: the main window appears under its class and title with its
# icons, centred on the screen; start-up logs no failure, the load reports its
# result, and the window is painted.
e2e_start
e2e_wait_window 60
state=$(e2e_window_state)
read -r left top right bottom minimized enabled _ <<<"$state"
[ "$minimized" = 0 ] || e2e_fail "the main window starts minimised ($state)"
[ "$enabled" = 1 ] || e2e_fail "the main window starts disabled ($state)"
[ $((right - left)) -gt 100 ] && [ $((bottom - top)) -gt 100 ] ||
    e2e_fail "the main window has no size from its layout ($state)"
icons=$(e2e_window_icons)
[ "$icons" = "16 32" ] || e2e_fail "the main window's icons are \"$icons\", expected a small and a large one"
# Centred on the work area (the whole X screen: there is no task bar).
read -r screen_width screen_height <<<"$(xdotool getdisplaygeometry)"
off_x=$(((left + right) / 2 - screen_width / 2))
off_y=$(((top + bottom) / 2 - screen_height / 2))
[ "${off_x#-}" -le 1 ] && [ "${off_y#-}" -le 1 ] ||
    e2e_fail "the main window is not centred on the ${screen_width}x${screen_height} screen ($state)"

e2e_wait_log 'get install list ret:' 60
if e2e_log_has 'get language resource file fail!'; then
    e2e_fail "start-up found no language resources"
fi
if e2e_log_has 'main form control is null!'; then
    e2e_fail "the main window's layout lacks one of its controls"
fi
sleep 1
shot=$(e2e_screenshot normal-start)
# A painted window is more than one flat colour.
colours=$(convert "$shot" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    -format '%k' info:)
[ "$colours" -gt 8 ] || e2e_fail "the window shows $colours colours: not painted ($shot)"

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
