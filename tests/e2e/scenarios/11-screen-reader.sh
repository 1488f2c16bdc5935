# A screen reader's view, from another process through AccessibleObjectFromWindow
# (tools/e2e_msaa.cpp). The main window's tree holds every control under its role
# and its name in the user's language, the rows of a list longer than its view
# (those out of view offscreen), with parents, navigation and hit testing that
# agree with the children. A row's button pressed by its default action starts
# the installer (the fake wusa.exe, held while the tree is read again) with
# " /uninstall /kb:<digits>": meanwhile the button says "Uninstalling KB…" and the
# other rows are unavailable; then the row names its outcome. Each change is
# heard as a WinEvent whose child id leads to the element changed. An element
# found twice is one object. The About dialog, opened and closed by default
# actions, has a tree of its own; while it is open the main window's controls
# are unavailable and refuse their default actions; once it closes the focus
# event lands on the about button; and an object another process keeps after
# the dialog closed answers as disconnected.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
hold=$E2E_PREFIX/drive_c/e2e/wusa-hold
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
export FAKE_WUSA_HOLD='C:\e2e\wusa-hold'
e2e_hotfixes < <(for i in $(seq 1 12); do printf 'KB50%05d\tUpdate\t3/%d/2024\n' "$i" "$i"; done)

# Saves the window's tree as $E2E_OUT/tree-NAME.txt (and prints its path).
save_tree() {
    local file=$E2E_OUT/tree-$2.txt
    e2e_msaa tree "$1" >"$file" || e2e_fail "no accessible tree for the $1 window"
    echo "$file"
}

# The tree FILE holds each LINE (whole lines, locations left out).
expect_lines() {
    local file=$1 line
    shift
    for line in "$@"; do
        sed 's/ @[-0-9,]*$//' "$file" | grep -Fx -- "$line" >/dev/null ||
            e2e_fail "no line [$line] in $(basename "$file")"
    done
}

# The KIND window's parents, navigation and hit testing agree with its children,
# and at least MIN elements are hit where they are.
consistent_hits() {
    local kind=$1 min=$2 check hits
    check=$(e2e_msaa check "$kind") || e2e_fail "the $kind tree disagrees with itself: $check"
    echo "$kind: $check"
    read -r _ _ _ hits _ <<<"$check"
    [ "$hits" -ge "$min" ] || e2e_fail "the $kind tree: $check (expected at least $min hits)"
}

# Waits until the file FILE (written by a tool in the background) has the line LINE.
wait_for_line() {
    local i
    for i in $(seq 1 80); do
        grep -Fxq -- "$2" "$1" && return 0
        sleep 0.25
    done
    e2e_fail "no line [$2] in $(basename "$1") within 20 s"
}

e2e_start_and_wait_list
E2E_VIEW=result
# The buttons' names come from the language's patterns ("Uninstall {0}").
named() {
    local pattern
    pattern=$(e2e_string "$1")
    echo "${pattern/\{0\}/$2}"
}

tree=$(save_tree main result)
grep -q '^client "OrvelleEx" \[' "$tree" || e2e_fail "the tree does not start with the client area"
[ "$(grep -c '^  ' "$tree")" -ge 20 ] || e2e_fail "the client area has too few elements (Wine's own answer?)"
expect_lines "$tree" \
    "  push button \"$(e2e_string IDS_ABOUT_BUTTON_NAME)\" [focusable]" \
    "  push button \"$(e2e_string IDS_MINIMIZE_BUTTON_NAME)\" [focusable]" \
    "  push button \"$(e2e_string IDS_CLOSE_BUTTON_NAME)\" [focusable]" \
    "  text \"$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 12)\" []" \
    "  push button \"$(e2e_string IDS_TIP_BUTTON_NAME)\" [focusable]" \
    "  list \"$(e2e_string IDS_HOTFIX_LIST_NAME)\" []" \
    '    list item "KB5000001" [focusable]' \
    '      text "KB5000001" []' \
    "      link \"$(named IDS_LEARN_MORE_NAME KB5000001)\" [focusable]" \
    '      text "2024-3-1" []' \
    "      push button \"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)\" [focusable]" \
    '    list item "KB5000012" [focusable offscreen]' \
    "      push button \"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000012)\" [focusable offscreen]"
[ "$(grep -c '^    list item ' "$tree")" = 12 ] || e2e_fail "the list does not hold 12 items"
# Locations are the screen's pixels, where the layout puts the control.
read -r l t r b _ <<<"$(e2e_rect btnUninstall@0)"
grep -Fq "\"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)\" [focusable] @$l,$t,$r,$b" "$tree" ||
    e2e_fail "the first row's button is not at $l,$t,$r,$b"
consistent_hits main 40
same=$(e2e_msaa same main "$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)")
[ "$same" = same ] || e2e_fail "the button KB5000001 found twice is two objects ($same)"

# What a screen reader hears meanwhile, read through the events' child ids.
events=$E2E_OUT/events.txt
e2e_msaa events main 'C:\e2e\events-stop' >"$events" &
listener=$!
wait_for_line "$events" listening
touch "$hold"
result=$(e2e_msaa press main "$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000002)")
[ "$result" = 0x00000000 ] || e2e_fail "accDoDefaultAction on the row's button returned $result"
e2e_wait_log 'find kb is 5000002(HotfixManageItemDetail::OnClickUninstall)' 30
tree=$(save_tree main uninstalling)
expect_lines "$tree" \
    "      push button \"$(named IDS_UNINSTALLING_HOTFIX_BUTTON_NAME KB5000002)\" [unavailable]" \
    "      push button \"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)\" [unavailable]" \
    "      push button \"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000003)\" [unavailable]"
rm -f "$hold"
e2e_wait_log 'unstall status ui callback status:0(' 30
expected_command_line="$E2E_WUSA_COMMAND /uninstall /kb:5000002"
[ "$(cat "$record")" = "$expected_command_line" ] ||
    e2e_fail "wusa.exe got [$(cat "$record")], expected [$expected_command_line]"
# The outcome is queued to the window after that log line: the last row's
# button is enabled again last.
for i in $(seq 1 80); do
    [ "$(grep -Fxc -- "statechange $(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000012)" "$events")" -ge 2 ] && break
    sleep 0.25
done
touch "$E2E_PREFIX/drive_c/e2e/events-stop"
wait "$listener" || e2e_fail "the event listener failed"
uninstalling=$(named IDS_UNINSTALLING_HOTFIX_BUTTON_NAME KB5000002)
for line in "namechange $uninstalling" "statechange $uninstalling" \
    "statechange $(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)" \
    "statechange $(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000012)" \
    "hide $uninstalling" "show $(e2e_string IDS_UNINSTALL_SUCCESS_CODE)"; do
    grep -Fxq -- "$line" "$events" || e2e_fail "no event [$line] in events.txt"
done
tree=$(save_tree main outcome)
expect_lines "$tree" "      push button \"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)\" [focusable]"
grep -A5 -F '    list item "KB5000002"' "$tree" | sed 's/ @[-0-9,]*$//' |
    grep -Fx "      text \"$(e2e_string IDS_UNINSTALL_SUCCESS_CODE)\" []" >/dev/null ||
    e2e_fail "the row KB5000002 does not name its outcome"
if grep -q 'KB5000002" \[' <(grep -F 'push button' "$tree"); then
    e2e_fail "the row KB5000002 still has its button"
fi

result=$(e2e_msaa focus main "$(e2e_string IDS_ABOUT_BUTTON_NAME)")
[ "$result" = 0x00000000 ] || e2e_fail "accSelect on the about button returned $result"
result=$(e2e_msaa press main "$(e2e_string IDS_ABOUT_BUTTON_NAME)")
[ "$result" = 0x00000000 ] || e2e_fail "accDoDefaultAction on the about button returned $result"
e2e_wait_window 30 about
tree=$(save_tree about about)
expect_lines "$tree" \
    "  text \"$(e2e_string IDS_ABOUT_TITLE)\" []" \
    "  push button \"$(e2e_string IDS_CLOSE_BUTTON_NAME)\" [focusable focused]" \
    "  push button \"$(e2e_string IDS_OPEN_SOURCE_STATEMENT)\" [focusable]"
consistent_hits about 6

# Behind the dialog the main window offers nothing: nothing starts, nothing closes.
refused=$(e2e_msaa press main "$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)" || true)
[ "$refused" = 0x80020003 ] ||
    e2e_fail "accDoDefaultAction behind the dialog returned [$refused], expected DISP_E_MEMBERNOTFOUND"
refused=$(e2e_msaa press main "$(e2e_string IDS_CLOSE_BUTTON_NAME)" || true)
[ "$refused" = 0x80020003 ] || e2e_fail "the main window's close button acted behind the dialog ($refused)"
tree=$(save_tree main behind-about)
expect_lines "$tree" "      push button \"$(named IDS_UNINSTALL_HOTFIX_BUTTON_NAME KB5000001)\" [unavailable]"
[ "$(cat "$record")" = "$expected_command_line" ] || e2e_fail "wusa.exe ran again behind the dialog"
events=$E2E_OUT/events-after-about.txt
rm -f "$E2E_PREFIX/drive_c/e2e/events-stop"
e2e_msaa events main 'C:\e2e\events-stop' >"$events" &
listener=$!
wait_for_line "$events" listening

held=$E2E_OUT/held.txt
e2e_msaa hold about >"$held" &
holder=$!
wait_for_line "$held" held
result=$(e2e_msaa press about "$(e2e_string IDS_CLOSE_BUTTON_NAME)")
[ "$result" = 0x00000000 ] || e2e_fail "accDoDefaultAction on the close button returned $result"
e2e_wait_no_window 10 about
wait_for_line "$events" "focus $(e2e_string IDS_ABOUT_BUTTON_NAME)"
touch "$E2E_PREFIX/drive_c/e2e/events-stop"
wait "$listener" || e2e_fail "the event listener failed"
wait "$holder" || e2e_fail "the object holder failed: $(cat "$held")"
# Cut off: the objects answer CO_E_OBJNOTCONNECTED, or their proxies, once the
# window disconnected them, RPC_E_DISCONNECTED.
for call in get_accChildCount get_accName; do
    grep -Eq "^$call 0x(800401fd|80010108)$" "$held" ||
        e2e_fail "$call on a kept object of the closed dialog did not answer as disconnected: $(cat "$held")"
done

result=$(e2e_msaa press main "$(e2e_string IDS_CLOSE_BUTTON_NAME)")
[ "$result" = 0x00000000 ] || e2e_fail "accDoDefaultAction on the close button returned $result"
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button's default action"
