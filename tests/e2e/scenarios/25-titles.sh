# Windows Update's titles on the rows, and the Windows Update layer under them.
# With Wine's own wuapi.dll the list shows as before and the rows keep their
# type, with one line in the log. Then the layer alone (e2e_ui's wua commands
# run the program's own calls against the stand-in, tools/e2e_wua.cpp): the
# history reads whole, an empty history is no error and needs no QueryHistory,
# a failure comes back with its code, a search finds the offer with its KBs and
# flags, a held search ends at Abort with E_ABORT and nothing left running, and
# put_IsHidden is recorded. Last the program with the stand-in: the list shows
# while the history is held, and once it answers the titles come under the
# types, the whole title as the screen reader hears it.
E2E_VIEW=result
e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5034441 'Security Update' 1/9/2024 \
    KB5031356 Update 11/14/2023 \
    KB5034123 Update 1/9/2024)
not_available='Windows Update is not available, rows keep their type'
e2e_start_and_wait_list
e2e_wait_log "$not_available" 30
[ "$(e2e_log | grep -c "$not_available")" = 1 ] || e2e_fail "the missing service was not logged once"
e2e_expect_text descriptionText@0 "$(e2e_string IDS_HOTFIX_DESC_SECURITY_UPDATE)"
e2e_expect_text descriptionText@1 "$(e2e_string IDS_HOTFIX_DESC_UPDATE)"
e2e_check_texts without-windows-update 15
e2e_close_and_keep_log without-windows-update "the list without Windows Update"

history_line() { printf '%s\t%s\n' "$@"; }

out=$(e2e_ui wua-history || true)
case $out in
    result=0x00000000\ count=0) ;;
    result=0x*) ;;
    *) e2e_fail "wua-history under Wine's own wuapi said [$out]" ;;
esac
wine_history=$out

e2e_wua_history < /dev/null
out=$(e2e_ui wua-history) || e2e_fail "an empty history failed: $out"
[ "$out" = 'result=0x00000000 count=0' ] || e2e_fail "an empty history gave [$out]"
e2e_wua_calls | grep -q '^QueryHistory' && e2e_fail "QueryHistory was called with no history"
e2e_wua_calls | grep -qx 'put_ClientApplicationID OrvelleEx' ||
    e2e_fail "the session has no client application id: $(e2e_wua_calls)"

e2e_wua_history < <(
    history_line 45302.41 '2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)'
    history_line 45301.2 'Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 (Version 1.403.1234.0)'
    history_line 45300.5 '2024-01 Cumulative Update for .NET Framework 3.5, 4.8 and 4.8.1 for Windows 11, version 22H2 for x64 (KB5033920)')
out=$(e2e_ui wua-history) || e2e_fail "the history failed: $out"
[ "$(head -1 <<<"$out")" = 'result=0x00000000 count=3' ] || e2e_fail "the history gave [$out]"
grep -qxF $'45302.4100\t2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)' <<<"$out" ||
    e2e_fail "the newest entry did not come through: $out"
e2e_wua_calls | grep -qx 'QueryHistory 0 3 -> 0x00000000' || e2e_fail "no QueryHistory(0, 3): $(e2e_wua_calls)"

e2e_wua_fail history 0x80070422
out=$(e2e_ui wua-history || true)
[ "$out" = 'result=0x80070422 count=0' ] || e2e_fail "a turned-off service gave [$out]"
e2e_wua_fail none

e2e_wua_offer < <(printf '%s\t%s\t%s\n' \
    5034441 - '2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)' \
    5034123,5034124 hidden '2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)' \
    890830 mandatory 'Windows Malicious Software Removal Tool x64 - v5.120 (KB890830)')
both='IsInstalled=0 and IsHidden=0 or IsInstalled=0 and IsHidden=1'
out=$(e2e_ui wua-search "$both") || e2e_fail "the search failed: $out"
expected="result=0x00000000 count=3
5034441	-	-	2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)
5034123,5034124	hidden	-	2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)
890830	-	mandatory	Windows Malicious Software Removal Tool x64 - v5.120 (KB890830)"
[ "$out" = "$expected" ] || e2e_fail "the search gave [$out]"
out=$(e2e_ui wua-search 'IsInstalled=0') || e2e_fail "the search failed: $out"
[ "$(head -1 <<<"$out")" = 'result=0x00000000 count=2' ] || e2e_fail "a hidden update was found by default: [$out]"
e2e_wua_calls | grep -qx 'BeginSearch IsInstalled=0' || e2e_fail "no BeginSearch: $(e2e_wua_calls)"

e2e_wua_hold search
out=$(e2e_ui wua-search 'IsInstalled=0' 1500 || true)
[ "$out" = 'result=0x80004004 count=0' ] || e2e_fail "an aborted search gave [$out]"
calls=$(e2e_wua_calls)
for line in 'held search' RequestAbort 'hold ended by RequestAbort' 'EndSearch -> 0x80004004' CleanUp; do
    grep -qxF "$line" <<<"$calls" || e2e_fail "the aborted search has no \"$line\": $calls"
done
[ "$(tail -1 <<<"$calls")" = 'all objects released' ] || e2e_fail "objects were left: $calls"

out=$(e2e_ui wua-hide 'IsInstalled=0' 5034441 true) || e2e_fail "hiding failed: $out"
e2e_wua_fail hide 0x80240016
out=$(e2e_ui wua-hide 'IsInstalled=0' 890830 true || true)
[ "$out" = 'result=0x80240016' ] || e2e_fail "a refused hide gave [$out]"
e2e_wua_fail none
hidden=$(e2e_wua_hidden)
[ "$hidden" = $'KB5034441 true -> 0x00000000\nKB890830 true -> 0x80240016' ] ||
    e2e_fail "put_IsHidden record: [$hidden]"
out=$(e2e_ui wua-search 'IsInstalled=0 and IsHidden=1')
grep -q $'^5034441\thidden' <<<"$out" || e2e_fail "the hidden flag did not stay: $out"
echo "Wine's own wuapi: $wine_history"

# The program with the stand-in: the history holds until the list has shown.
e2e_wua_history < <(
    history_line 45302.41 '2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)'
    history_line 45301.2 'Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 (Version 1.403.1234.0)'
    history_line 45299.5 '2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)'
    history_line 45200.5 'An older title of the same update (KB5034441)')
e2e_wua_hold history
E2E_TEXTS=()
e2e_start_and_wait_list
e2e_wait_wua_held 30
e2e_expect_text hotfixNameText@2 KB5034123
e2e_expect_text descriptionText@2 "$(e2e_string IDS_HOTFIX_DESC_UPDATE)"
e2e_check_texts list-before-titles 15
e2e_log_has 'update titles shown' && e2e_fail "titles came before the history answered"

e2e_release_wua
e2e_wait_log 'update titles shown on 2 of 3 rows' 30
winre='2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)'
cumulative='2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)'
E2E_MAIN_OPTIONS=(--show updateTitleText@0 --text updateTitleText@0 "$winre"
    --show updateTitleText@2 --text updateTitleText@2 "$cumulative")
E2E_TEXTS=()
e2e_expect_text descriptionText@0 "$(e2e_string IDS_HOTFIX_DESC_SECURITY_UPDATE)"
# Each is cut to its column with an ellipsis: its beginning shows, the whole is the tip.
e2e_expect_text updateTitleText@0 "${winre:0:30}"
e2e_expect_text updateTitleText@2 "${cumulative:0:30}"
e2e_check_texts titles 15
e2e_crop_window titles
tree=$(e2e_msaa tree main)
grep -qF "$cumulative" <<<"$tree" || e2e_fail "the screen reader hears no title: $(head -n 30 <<<"$tree")"
[ "$(e2e_log | grep -c 'Windows Update\|update titles')" = 1 ] ||
    e2e_fail "titles were logged more than once: $(e2e_log | grep 'Windows Update\|update titles')"
e2e_close_and_keep_log titles "the list with titles"
