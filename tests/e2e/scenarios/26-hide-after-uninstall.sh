# A removal, then "Hide from Windows Update": the row's link under "Uninstalled"
# searches Windows Update (the stand-in, tools/e2e_wua.cpp) for the updates it
# offers, finds the row's KB among them and hides exactly that update; the row
# says so, and a screen reader hears it.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
export FAKE_WUSA_EXIT_CODE=0
e2e_wua_offer < <(printf '%s\t%s\t%s\n' \
    2267602 - 'Security Intelligence Update for Microsoft Defender Antivirus - KB2267602 (Version 1.421.1)' \
    5034441 - '2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)' \
    5034123 - '2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)')
e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5034441 'Security Update' 1/9/2024 \
    KB5033375 Update 12/12/2023)
E2E_VIEW=result

e2e_start_and_wait_list
e2e_click btnUninstall@0
e2e_wait_log 'unstall status ui callback status:0(' 30
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0 --show hideFromUpdateLink@0)
e2e_expect_text UninstallResultLab@0 "$(e2e_string IDS_UNINSTALL_SUCCESS_CODE)"
e2e_click 'hideFromUpdateLink@0#0'
e2e_wait_log 'hide KB5034441 ret:0x00000000(MainWindow::OnRowFlagSet)' 60

hidden=$(e2e_wua_hidden)
[ "$hidden" = 'KB5034441 true -> 0x00000000' ] || e2e_fail "put_IsHidden record: [$hidden]"
e2e_wua_calls | grep -qx 'BeginSearch IsInstalled=0 and IsHidden=0 or IsInstalled=0 and IsHidden=1' || e2e_fail "no search: $(e2e_wua_calls)"
said=$(e2e_string IDS_WU_HIDDEN)
tree=$(e2e_msaa tree main)
grep -F "\"$said\"" <<<"$tree" >/dev/null || e2e_fail "the row does not say \"$said\": $tree"
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0 --show UninstallReasonLab@0)
e2e_expect_text UninstallReasonLab@0 "$said" FF767676
e2e_screenshot hidden-after-uninstall >/dev/null
e2e_crop_window hidden-after-uninstall

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
e2e_wua_calls | tail -1 | grep -qx 'all objects released' || e2e_fail "objects were left: $(e2e_wua_calls)"
