# Normal start: the main window appears under its class and title with its
# icons, centred on the screen; while the WMI query runs (held at a gate, as
# Wine answers too fast to see) the loading view shows with its animation
# running; then the list shows Wine's hotfix: its identifier, its description in
# the user's language, its date as the program writes it, and the count title.
e2e_gate_wmi
e2e_start
e2e_wait_window 60
state=$(e2e_window_state)
read -r left top right bottom minimized enabled _ <<<"$state"
[ "$minimized" = 0 ] || e2e_fail "the main window starts minimised ($state)"
[ "$enabled" = 1 ] || e2e_fail "the main window starts disabled ($state)"
# X shows it where Windows has it (or this fails).
e2e_window_geometry >/dev/null
icons=$(e2e_window_icons)
[ "$icons" = "16 32" ] || e2e_fail "the main window's icons are \"$icons\", expected a small and a large one"
# Centred on the work area (the whole X screen: there is no task bar).
read -r screen_width screen_height <<<"$(xdotool getdisplaygeometry)"
off_x=$(((left + right) / 2 - screen_width / 2))
off_y=$(((top + bottom) / 2 - screen_height / 2))
[ "${off_x#-}" -le 1 ] && [ "${off_y#-}" -le 1 ] ||
    e2e_fail "the main window is not centred on the ${screen_width}x${screen_height} screen ($state)"

e2e_wait_wmi_held 60
e2e_expect_layout_texts main
e2e_check_texts loading 15
anim=$(e2e_rect loadWaitAnimate)
read -r l t r b _ <<<"$anim"
crop="$((r - l))x$((b - t))+$l+$t"
convert "$E2E_OUT/loading.png" -crop "$crop" +repage "$E2E_OUT/anim-1.png"
[ "$(convert "$E2E_OUT/anim-1.png" -format '%k' info:)" -gt 2 ] ||
    e2e_fail "the loading animation shows nothing (anim-1.png)"
# Several samples a short, odd interval apart: two samples a whole turn of the
# ring apart would look alike although the animation runs.
moved=0
for sample in 2 3 4 5 6; do
    sleep 0.13
    frame=$(e2e_screenshot loading-later)
    convert "$frame" -crop "$crop" +repage "$E2E_OUT/anim-$sample.png"
    changed=$(compare -metric AE "$E2E_OUT/anim-1.png" "$E2E_OUT/anim-$sample.png" null: 2>&1 || true)
    if [ "${changed%% *}" != 0 ]; then
        moved=1
        break
    fi
done
[ "$moved" = 1 ] || e2e_fail "the loading animation does not move (anim-1.png ... anim-6.png)"
if e2e_log_has 'get install list ret:'; then
    e2e_fail "the load ended while its query was held"
fi
e2e_release_wmi

e2e_wait_log 'get install list ret:0' 60
for line in 'get install hotfix start!' 'get install hotfix end!' 'get install list ret:0' \
    'find value success!'; do
    e2e_log_has "$line" || e2e_fail "no log record \"$line\""
done
order=$(e2e_log | grep -n -F -e 'get install hotfix start!' -e 'get install list ret:0' |
    cut -d: -f1 | tr '\n' ' ')
read -r first second <<<"$order"
[ -n "$second" ] && [ "$first" -lt "$second" ] || e2e_fail "the load's records are out of order"
for line in 'get language resource file fail!' 'main form control is null!' 'unknown language key:'; do
    if e2e_log_has "$line"; then
        e2e_fail "start-up logged \"$line\""
    fi
done

E2E_VIEW=result
E2E_ROWS=1
title=$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 1)
description=$(e2e_string "$E2E_WINE_HOTFIX_DESCRIPTION_KEY")
e2e_expect_layout_texts main
e2e_expect_text hotfixFirstTitle "$title"
e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
e2e_expect_text descriptionText@0 "$description"
e2e_expect_text installedTimeText@0 "$E2E_WINE_HOTFIX_DATE_SHOWN"
e2e_check_texts list 15
e2e_crop_window list

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
