# Resources missing: without the "res" folder beside the program, start-up logs
# the failure and shows the message box with its built-in text and caption, as
# a top-most box (MB_OK | MB_TOPMOST); dismissing it ends the process with exit
# code 0, and no main window is ever shown (no load runs).
# Wine 8 draws the box but does not make it a top-most window (WS_EX_TOPMOST
# stays clear), so the box type is read from Wine's relay trace of the call.
rm -rf "$E2E_APP_DIR/res"
caption=$(e2e_string IDS_PROMPT_TIPS)
text=$(e2e_string IDS_RES_FILE_NOT_EXIST_TIPS)
e2e_registry <<'REG'
[HKEY_CURRENT_USER\Software\Wine\Debug]
"RelayInclude"="user32.MessageBoxW"
REG

WINEDEBUG=+relay e2e_start
box=none
for i in $(seq 1 240); do
    box=$(e2e_ui dialog "$caption" || true)
    [ "$box" != none ] && [ -n "$box" ] && break
    [ "$(e2e_window_state main)" = none ] || e2e_fail "a main window appeared without resources"
    sleep 0.25
done
[ "$box" != none ] && [ -n "$box" ] || e2e_fail "no message box captioned \"$caption\" within 60s"
e2e_screenshot message-box >/dev/null
call=$(grep -a 'Call user32.MessageBoxW(' "$E2E_OUT/launch-1.log" | head -n1)
[ -n "$call" ] || e2e_fail "no MessageBoxW call in Wine's relay trace (launch-1.log)"
[[ $call == *",00040000) "* ]] ||
    e2e_fail "the message box is not asked for as MB_OK | MB_TOPMOST: $call"
grep -qxF "static	$text" <<<"$box" || e2e_fail "the message box does not say \"$text\": $box"
button=$(grep '^button' <<<"$box" | head -n1)
[ "$(grep -c '^button' <<<"$box")" = 1 ] || e2e_fail "the message box has not one button: $box"
e2e_wait_log 'get language resource file fail!(wWinMain)' 10
[ "$(e2e_window_state main)" = none ] || e2e_fail "a main window is shown beside the message box"

IFS=$'\t' read -r _ rect _ <<<"$button"
read -r l t r b <<<"$rect"
xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.1 click 1
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after dismissing the message box, expected 0"
if e2e_log_has 'get install hotfix start!'; then
    e2e_fail "a load ran although start-up stopped at the missing resources"
fi
