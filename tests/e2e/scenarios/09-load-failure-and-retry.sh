# Load failure and retry, with WMI served from a list (tools/e2e_wmi.cpp): while
# ExecQuery fails the window shows the failure text with its retry link; once
# the failure is gone, the link loads again and the list shows the served rows
# with their odd values: an empty description and a null date are blank cells,
# "Security Update" has its own text, a long identifier is cut to its column.
# What the program asked of WMI is exactly the query it makes, and it released
# every object after both loads.
long_id='{95120000-00B9-0409-1000-0000000FF1CE}'
e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5034441 '' 1/9/2024 \
    KB5034439 'Security Update' 12/12/2023 \
    "$long_id" Update '<null>')
e2e_wmi_fail 0x80041003 ExecQuery

e2e_start
e2e_wait_window 60
e2e_wait_log 'get install list ret:1' 60
for line in 'IWbemServices::ExecQuery fail! hr:0x80041003' 'select property by wmi fail!'; do
    e2e_log_has "$line" || e2e_fail "no log record \"$line\""
done
E2E_VIEW=fail
failure=$(e2e_string IDS_HOTFIX_LOAD_FAIL)
sentence=${failure%%\{0\}*}
retry=$(e2e_string IDS_HOTFIX_LOAD_RETRY | sed 's/{a[^}]*}//; s/{\/a}//')
e2e_expect_text loadHotfixFailText "${sentence% }"
e2e_expect_text 'loadHotfixFailText#0' "$retry"
e2e_check_texts failure 15
e2e_crop_window failure

e2e_wmi_fail none
e2e_click 'loadHotfixFailText#0'
e2e_wait_log 'ENTER Reload Hotfix link' 15
e2e_wait_log 'get install list ret:0' 60
e2e_log_has 'installedTime is empty' || e2e_fail "the null date did not reach the row as empty"

E2E_VIEW=result
# The long identifier has no KB number, so no "Learn more" link either.
E2E_MAIN_OPTIONS=(--hide learnMoreLink@2)
[ "$E2E_ROWS" = 3 ] || e2e_fail "e2e_hotfixes counted $E2E_ROWS rows, expected 3"
e2e_expect_layout_texts main
e2e_expect_text hotfixFirstTitle "$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 3)"
e2e_expect_text hotfixNameText@0 KB5034441
e2e_expect_text installedTimeText@0 2024-1-9
e2e_expect_text hotfixNameText@1 KB5034439
e2e_expect_text descriptionText@1 "$(e2e_string IDS_HOTFIX_DESC_SECURITY_UPDATE)"
e2e_expect_text installedTimeText@1 2023-12-12
e2e_expect_text hotfixNameText@2 "${long_id:0:14}"
e2e_expect_text hotfixNameText@2 ...
e2e_expect_text descriptionText@2 "$(e2e_string IDS_HOTFIX_DESC_UPDATE)"
e2e_check_texts list 15
e2e_crop_window list
for cell in descriptionText@0 installedTimeText@2; do
    read -r l t r b _ <<<"$(e2e_rect "$cell")"
    colours=$(convert "$E2E_OUT/list.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage -format '%k' info:)
    [ "$colours" = 1 ] || e2e_fail "$cell is not blank ($colours colours in list.png)"
done

# The failed load stops at ExecQuery; the retry reads three hotfixes and the end.
calls=$(e2e_wmi_calls)
served_next='Next timeout=60000 count=1 -> 0x00000000 returned=1'
expected="class request: served from hotfixes.txt
CreateInstance -> 0x00000000
ConnectServer ROOT\\CIMV2 flags=0x00000080 -> 0x00000000
ExecQuery WQL \"SELECT * FROM Win32_QuickFixEngineering\" flags=0x00000030 -> 0x80041003
all objects released
class request: served from hotfixes.txt
CreateInstance -> 0x00000000
ConnectServer ROOT\\CIMV2 flags=0x00000080 -> 0x00000000
ExecQuery WQL \"SELECT * FROM Win32_QuickFixEngineering\" flags=0x00000030 -> 0x00000000 hotfixes=3
$served_next
$served_next
$served_next
Next timeout=60000 count=1 -> 0x00000001 returned=0
all objects released"
[ "$calls" = "$expected" ] ||
    e2e_fail "the program's WMI calls differ from the expected ones:$(diff <(echo "$expected") <(echo "$calls") | sed 's/^/    /')"

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
