# Without the stand-in, Wine's own wuapi.dll answers, a stub of Windows Update:
# a removed row's "Hide from Windows Update" and the Hide updates dialog both
# say in words that Windows Update is not available, and the rest of the
# program works as before (another row uninstalls, the window closes).
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
export FAKE_WUSA_EXIT_CODE=0
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5034441 'Security Update' 1/9/2024 \
    KB5033375 Update 12/12/2023)
E2E_VIEW=result
not_available=$(e2e_string IDS_WU_NOT_AVAILABLE)

e2e_start_and_wait_list
e2e_click btnUninstall@0
e2e_wait_log 'unstall status ui callback status:0(' 30
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0 --show hideFromUpdateLink@0)
e2e_click 'hideFromUpdateLink@0#0'
e2e_wait_log 'hide KB5034441 search ends:' 60
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0 --show UninstallReasonLab@0)
e2e_expect_text UninstallReasonLab@0 "$not_available" FF767676

result=$(e2e_msaa press main "$(e2e_string IDS_WU_HIDE_UPDATES)")
[ "$result" = 0x00000000 ] || e2e_fail "the reader's press on Hide updates gave $result"
e2e_wait_window 30 hide
for i in $(seq 1 80); do
    e2e_msaa tree hide | grep -qF "\"$not_available\"" && break
    sleep 0.25
done
tree=$(e2e_msaa tree hide)
grep -qF "\"$not_available\"" <<<"$tree" || e2e_fail "the dialog does not say \"$not_available\": $tree"
e2e_key Escape hide
e2e_wait_no_window 15 hide

# The rest works as before: the other row uninstalls.
e2e_wait_window_flag enabled 1 "the main window takes no input after the dialog"
e2e_click btnUninstall@1
e2e_wait_log 'unstall status ui callback status:0(' 30
grep -q '/uninstall /kb:5033375' "$record" || e2e_fail "wusa.exe was not run for KB5033375"
e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
