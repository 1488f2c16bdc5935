# This month's cumulative update as one combined package: the removable
# cumulative part (Package_for_RollupFix, no KB in its name) and the permanent
# servicing stack of the same update, found by their manifests. The row asks
# first; Enter confirms; the stand-in dismapi.dll is asked to remove exactly the
# RollupFix package and the installer is never started. While the removal holds
# at 40 % the row shows its progress, and closing the window says the update is
# being removed and does not end the removal: the program ends once it has.
# Then the outcomes: 3010 as an HRESULT (restart needed, the restart bar, and
# "Restart now" reaching the shutdown call), 0x800F0825 (cannot be uninstalled)
# and 0x80004005 (failed).
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
e2e_dism_standin

rollup='Package_for_RollupFix~31bf3856ad364e35~amd64~~19041.3570.1.12'
stack='Package_for_ServicingStack_3565~31bf3856ad364e35~amd64~~19041.3565.1.2'
e2e_servicing_package "$rollup" 70 Package_for_RollupFix KB5031356
e2e_servicing_package "$stack" 70 Package_for_ServicingStack_3565 KB5031356 permanent
e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5031356 'Security Update' 10/10/2023 \
    KB5006670 'Security Update' 10/12/2021)
E2E_VIEW=result
E2E_ROWS=2
removing=(--hide btnUninstall@0 --show removalProgressLyt@0)

# Clicks the cumulative row and confirms with Enter.
confirm_removal() {
    e2e_click btnUninstall@0
    e2e_wait_confirm 30
    xdotool key Return
    e2e_wait_no_confirm 15
    e2e_wait_log "remove package $rollup of KB5031356" 30
}

# Held at 40 %: the progress, then a close that waits for the removal.
e2e_dism_result 0x80070BC2
e2e_dism_hold
e2e_start_and_wait_list
confirm_removal
E2E_MAIN_OPTIONS=("${removing[@]}")
e2e_expect_text removalProgressText@0 "$(e2e_progress_text 40)"
e2e_check_texts progress-40 20
e2e_crop_window progress-40
# A screen reader hears the row's bar as a progress bar at that percentage.
percent=$(e2e_string IDS_PROGRESS_VALUE)
tree=$(e2e_msaa tree main)
grep -F 'progress bar "' <<<"$tree" | grep -F 'KB5031356" [' | grep -F "= \"${percent//\{0\}/40}\"" >/dev/null ||
    e2e_fail "the screen reader hears no progress bar at 40 % for KB5031356: $(grep -F 'progress' <<<"$tree")"
e2e_click closeButton
sleep 2
[ "$(e2e_window_state main)" != none ] || e2e_fail "the window closed while the update was being removed"
E2E_MAIN_OPTIONS=("${removing[@]}" --show closingNoticeBar)
e2e_expect_text closingNotice "$(e2e_string IDS_CLOSING_WHILE_REMOVING)"
e2e_check_texts closing 15
e2e_dism_release
code=$(e2e_wait_exit "$E2E_LAUNCH" 60)
[ "$code" = 0 ] || e2e_fail "exit code $code after the removal the close waited for"
[ "$(e2e_dism_removed)" = "$rollup" ] ||
    e2e_fail "the stand-in was asked to remove [$(e2e_dism_removed)], expected [$rollup]"
e2e_log_has 'unstall status ui callback status:2(' || e2e_fail "the removal's outcome never came"
e2e_wait_no_window 15
e2e_keep_log closed-mid-removal

# HRESULT, status the program reports, label key, label colour
while read -r result status key colour <&3; do
    # Installed again (the stand-in leaves a removed package pending, as Windows does).
    e2e_servicing_package "$rollup" 70
    e2e_dism_result "$result"
    rm -f "$(e2e_dism_folder)/removed.txt"
    E2E_MAIN_OPTIONS=()
    e2e_start_and_wait_list
    confirm_removal
    e2e_wait_log "unstall status ui callback status:$status(" 60
    E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0)
    [ "$status" = 2 ] && E2E_MAIN_OPTIONS+=(--show restartBar)
    e2e_expect_text UninstallResultLab@0 "$(e2e_string "$key")" "$colour"
    if [ "$status" = 2 ]; then
        e2e_expect_text restartBarText "$(e2e_string IDS_RESTART_BAR_TEXT)"
        e2e_expect_text restartNowButton "$(e2e_string IDS_RESTART_NOW)"
    fi
    e2e_check_texts "outcome-$result" 20
    [ "$(e2e_dism_removed)" = "$rollup" ] || e2e_fail "the stand-in removed [$(e2e_dism_removed)] ($result)"
    if [ "$status" = 2 ]; then
        e2e_crop_window "outcome-$result"
        e2e_click restartNowButton
        e2e_wait_log 'WindowsHotfix::WindowsHotfixHelper::RestartWindows' 30
        # Wine does not restart (InitiateShutdownW answers an error): the bar shows its code.
        refused=$(e2e_log | sed -n 's/.*InitiateShutdownW fail! ret:\([0-9]*\)(.*/\1/p' | tail -n1)
        if [ -n "$refused" ]; then
            failed=$(e2e_string IDS_RESTART_FAILED)
            e2e_expect_text restartBarText "${failed//\{0\}/$refused}"
            e2e_check_texts restart-refused 15
        fi
    fi
    e2e_close_and_keep_log "dism-$result" "servicing result $result"
done 3<<'CODES'
0x80070BC2 2 IDS_UNINSTALL_NEED_RESTART_CODE FFED6F21
0x800F0825 3 IDS_UNINSTALL_CANNOT_CODE FFED6F21
0x80004005 4 IDS_UNINSTALL_FAIL_CODE FFED6F21
CODES
[ ! -e "$record" ] || e2e_fail "the installer was started for the cumulative update: $(cat "$record")"

# Reopened after the removal, before the restart: the cumulative part waits for
# the restart to go and the servicing stack stays. The row says "Restart to
# finish" from the start, with the restart bar and no button; the stand-in is
# asked for nothing.
e2e_servicing_package "$rollup" 05
rm -f "$(e2e_dism_folder)/removed.txt"
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0 --show restartBar)
e2e_start_and_wait_list
e2e_expect_text UninstallResultLab@0 "$(e2e_string IDS_UNINSTALL_NEED_RESTART_CODE)" FFED6F21
e2e_expect_text restartBarText "$(e2e_string IDS_RESTART_BAR_TEXT)"
e2e_check_texts reopened-pending 20
[ ! -s "$(e2e_dism_folder)/removed.txt" ] || e2e_fail "the stand-in was asked again: $(e2e_dism_removed)"
e2e_close_and_keep_log reopened-pending "reopened before the restart"
