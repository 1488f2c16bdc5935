# The Hide updates dialog, beside the count: it searches Windows Update once (the
# stand-in, tools/e2e_wua.cpp) and lists each offered update in the search's
# order with "Hide" or "Show again". By keys alone (Tab reaches the button after
# the list, Enter opens the dialog, the focus lands on the first update, Enter
# hides it and Enter shows it again, Esc closes), then by a screen reader's
# default action (the button, "Show … again", "Hide …", Close); a search
# cancelled with Esc ends at RequestAbort and leaves nothing of Windows Update
# behind. Its picture is docs/hide-updates-dialog.png.
e2e_wua_offer < <(printf '%s\t%s\t%s\n' \
    5034441 - '2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)' \
    2267602 hidden 'Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 (Version 1.421.1)' \
    5034123 - '2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)')
e2e_hotfixes < <(printf '%s\t%s\t%s\n' KB5033375 Update 12/12/2023)
E2E_VIEW=result

# A language text with the update's name in place of "{0}".
named() {
    local pattern
    pattern=$(e2e_string "$1")
    echo "${pattern//\{0\}/$2}"
}
# The dialog's focused element as a screen reader hears it ("" while none).
focused() {
    e2e_msaa tree hide | grep -F 'focused' | sed -n 's/^ *[a-z ]* "\(.*\)" \[.*/\1/p' | head -1
}
wait_focused() {
    local i now=
    for i in $(seq 1 80); do
        now=$(focused || true)
        [ "$now" = "$1" ] && return 0
        sleep 0.25
    done
    e2e_fail "the dialog's focus is on [$now], expected [$1]"
}
wait_hidden_lines() {
    local i
    for i in $(seq 1 120); do
        [ "$(e2e_wua_hidden | wc -l)" -ge "$1" ] && return 0
        sleep 0.25
    done
    e2e_fail "put_IsHidden was called $(e2e_wua_hidden | wc -l) times, expected $1: $(e2e_wua_hidden)"
}

e2e_start_and_wait_list
for expected in aboutButton minButton closeButton btnUninstallTip learnMoreLink@0 btnUninstall@0 \
    hideUpdatesButton; do
    e2e_key Tab
    name=$(e2e_wait_focus_ring)
    [ "$name" = "$expected" ] || e2e_fail "Tab reached $name, expected $expected"
done
e2e_key Return
e2e_wait_window 30 hide
wait_focused "$(named IDS_WU_HIDE_NAME KB5034441)"
tree=$(e2e_msaa tree hide)
order=$(grep -o 'list item "[^"]*"' <<<"$tree" | sed 's/.*(KB\([0-9]*\)).*/\1/; s/.* - KB\([0-9]*\) .*/\1/' | tr '\n' ' ')
[ "$order" = '5034441 2267602 5034123 ' ] || e2e_fail "the lines are not in the search's order: [$order] $tree"
grep -qF "\"$(named IDS_WU_SHOW_AGAIN_NAME KB2267602)\"" <<<"$tree" ||
    e2e_fail "the hidden update offers no Show again: $tree"
grep -qF "$(e2e_string IDS_WU_HIDE_FOOT)" <<<"$tree" || e2e_fail "the dialog's foot line is missing: $tree"

e2e_key Return hide
wait_hidden_lines 1
wait_focused "$(named IDS_WU_SHOW_AGAIN_NAME KB5034441)"
e2e_key Return hide
wait_hidden_lines 2
[ "$(e2e_wua_hidden)" = $'KB5034441 true -> 0x00000000\nKB5034441 false -> 0x00000000' ] ||
    e2e_fail "put_IsHidden by keys: [$(e2e_wua_hidden)]"
e2e_key Escape hide
e2e_wait_no_window 15 hide
e2e_wait_window_flag enabled 1 "the main window takes no input after Esc closed the dialog"
[ "$(e2e_wua_calls | grep -c '^BeginSearch')" = 1 ] || e2e_fail "the dialog searched more than once: $(e2e_wua_calls)"

# A screen reader's default action, all the way.
result=$(e2e_msaa press main "$(e2e_string IDS_WU_HIDE_UPDATES)")
[ "$result" = 0x00000000 ] || e2e_fail "the reader's press on Hide updates gave $result"
e2e_wait_window 30 hide
wait_focused "$(named IDS_WU_HIDE_NAME KB5034441)"
result=$(e2e_msaa press hide "$(named IDS_WU_SHOW_AGAIN_NAME KB2267602)")
[ "$result" = 0x00000000 ] || e2e_fail "the reader's press on Show again gave $result"
wait_hidden_lines 3
wait_focused "$(named IDS_WU_HIDE_NAME KB2267602)"
e2e_screenshot hide-updates-dialog >/dev/null
e2e_crop_window hide-updates-dialog hide
result=$(e2e_msaa press hide "$(named IDS_WU_HIDE_NAME KB2267602)")
[ "$result" = 0x00000000 ] || e2e_fail "the reader's press on Hide gave $result"
wait_hidden_lines 4
[ "$(e2e_wua_hidden | tail -2)" = $'KB2267602 false -> 0x00000000\nKB2267602 true -> 0x00000000' ] ||
    e2e_fail "put_IsHidden by a screen reader: [$(e2e_wua_hidden)]"
result=$(e2e_msaa press hide "$(e2e_string IDS_CLOSE_BUTTON_NAME)")
[ "$result" = 0x00000000 ] || e2e_fail "the reader's press on Close gave $result"
e2e_wait_no_window 15 hide

# A search cancelled with Esc: RequestAbort, and every object released.
e2e_wua_hold search
result=$(e2e_msaa press main "$(e2e_string IDS_WU_HIDE_UPDATES)")
e2e_wait_window 30 hide
e2e_wait_wua_held 30
wait_focused "$(e2e_string IDS_CANCEL_BUTTON)"
e2e_key Escape hide
e2e_wait_no_window 15 hide
for i in $(seq 1 40); do
    [ "$(e2e_wua_calls | tail -1)" = 'all objects released' ] && break
    sleep 0.25
done
calls=$(e2e_wua_calls)
for line in RequestAbort 'hold ended by RequestAbort' 'EndSearch -> 0x80004004'; do
    grep -qxF "$line" <<<"$calls" || e2e_fail "the cancelled search has no \"$line\": $calls"
done
[ "$(tail -1 <<<"$calls")" = 'all objects released' ] || e2e_fail "objects were left: $calls"
[ "$(e2e_wua_hidden | wc -l)" = 4 ] || e2e_fail "the cancelled search set a flag: $(e2e_wua_hidden)"

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
