# A failure says why, and a checkpoint cumulative update offers nothing.
# The fake installer exits with 0x80070422 (ERROR_SERVICE_DISABLED: the
# Windows Update service is off): the row shows "Uninstall failed" and, under
# it, the reason, which a screen reader reads from the accessible tree. On the
# same Windows 11 24H2 store two RollupFix packages are installed: the running
# build's (CurrentBuildNumber 26100, UBR 4349) is this month's cumulative update;
# the other is its checkpoint, whose row says "Part of a newer update" with no
# button, and the stand-in servicing API never hears its name.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
export FAKE_WUSA_EXIT_CODE=0x80070422
e2e_dism_standin

checkpoint='Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.1742.1.10'
newest='Package_for_RollupFix~31bf3856ad364e35~amd64~~26100.4349.1.10'
e2e_servicing_package "$checkpoint" 70 Package_for_RollupFix KB5043080
e2e_servicing_package "$newest" 70 Package_for_RollupFix KB5060829
e2e_servicing_package 'Package_for_ServicingStack_4344~31bf3856ad364e35~amd64~~26100.4344.1.1' 70 \
    Package_for_ServicingStack_4344 KB5060829 permanent
e2e_registry <<'REG'
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion]
"CurrentBuildNumber"="26100"
"UBR"=dword:000010fd
REG
e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5006670 'Security Update' 10/12/2021 \
    KB5043080 Update 9/10/2024 \
    KB5060829 'Security Update' 6/10/2025)
E2E_VIEW=result
E2E_ROWS=3

e2e_start_and_wait_list
E2E_MAIN_OPTIONS=(--hide btnUninstall@1 --show UninstallPermanentLab@1)
e2e_expect_text UninstallPermanentLab@1 "$(e2e_string IDS_UNINSTALL_CHECKPOINT_CODE)" FF767676
e2e_expect_text btnUninstall@2 "$(e2e_string IDS_UNINSTALL_HOTFIX_OPERATION)"
e2e_check_texts checkpoint 15
# Where its button would be: nothing to click.
E2E_MAIN_OPTIONS=()
e2e_click btnUninstall@1
sleep 1
! e2e_log_has 'click hotfix name:KB5043080' || e2e_fail "the checkpoint row took a click"

E2E_MAIN_OPTIONS=(--hide btnUninstall@1 --show UninstallPermanentLab@1)
e2e_click btnUninstall@0
e2e_wait_log 'unstall status ui callback status:4(' 30
grep -q '/uninstall /kb:5006670' "$record" || e2e_fail "wusa.exe was not run for KB5006670"
E2E_MAIN_OPTIONS+=(--hide btnUninstall@0 --show UninstallResultLab@0)
e2e_expect_text UninstallResultLab@0 "$(e2e_string IDS_UNINSTALL_FAIL_CODE)" FFED6F21
e2e_check_texts failed-with-reason 15
e2e_crop_window failed-with-reason
reason=$(e2e_string IDS_UNINSTALL_REASON_SERVICE_OFF)
tree=$(e2e_msaa tree main)
grep -F "\"$reason\"" <<<"$tree" >/dev/null ||
    e2e_fail "the screen reader hears no reason \"$reason\": $(grep -F 'text' <<<"$tree" | head -n 20)"
grep -F "\"$(e2e_string IDS_UNINSTALL_FAIL_CODE)\"" <<<"$tree" >/dev/null ||
    e2e_fail "the screen reader hears no outcome for KB5006670"
[ ! -s "$(e2e_dism_folder)/removed.txt" ] ||
    e2e_fail "the stand-in servicing API was asked to remove: $(e2e_dism_removed)"
! grep -qF "$checkpoint" "$(e2e_dism_folder)/calls.txt" 2>/dev/null ||
    e2e_fail "the stand-in servicing API heard the checkpoint's name"
e2e_close_and_keep_log failed-with-reason "the failure and the checkpoint"
