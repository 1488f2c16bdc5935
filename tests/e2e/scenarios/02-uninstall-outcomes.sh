# Uninstall outcomes: the fake installer (tests/windows/fake_wusa/, put in as
# system32\wusa.exe; the template runs wusa.exe native) ends with each exit code
# in turn, one launch each: every installer code of the program's outcome table
# and one it does not hold, as tests/e2e/tools/e2e_outcomes prints them from the
# program's own tables, so a new code is run here with no change to this file.
# A click on the row's button must start the system folder's installer directly,
# with exactly the command line the program builds (the quoted path from
# GetSystemDirectoryW, then the parameters " /uninstall /kb:<number>"), in the
# system folder, and the row must end in the outcome of that code: its label in
# the outcome's colour, its button gone, its texts grey; after a cancel, the row
# as it was before the click.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
folder_record=$E2E_PREFIX/drive_c/e2e/wusa-folder.txt
export FAKE_WUSA_FOLDER_RECORD='C:\e2e\wusa-folder.txt'
expected_command_line="$E2E_WUSA_COMMAND /uninstall /kb:$E2E_WINE_HOTFIX_NUMBER"
E2E_VIEW=result
E2E_ROWS=1
grey=FF999999
uninstall_text=$(e2e_string IDS_UNINSTALL_HOTFIX_OPERATION)
outcomes=$("$E2E_OUTCOMES_TOOL") || e2e_fail "the outcome table tool failed"
[ "$(wc -l <<<"$outcomes")" -ge 5 ] || e2e_fail "the outcome table printed too few codes: $outcomes"

# exit code, status the program reports, label key, label colour, restart bar, reason key
while read -r exit_code status key colour restart reason <&3; do
    rm -f "$record" "$folder_record"
    export FAKE_WUSA_EXIT_CODE=$exit_code
    e2e_start_and_wait_list
    E2E_MAIN_OPTIONS=()
    e2e_expect_text btnUninstall@0 "$uninstall_text"
    # The idle row is the same before every code: checked on the first launch.
    [ "$E2E_LAUNCH" = 1 ] && e2e_check_texts "before" 15
    E2E_TEXTS=()
    e2e_click btnUninstall@0

    e2e_wait_log "unstall status ui callback status:$status(" 30
    e2e_log_has "click hotfix name:$E2E_WINE_HOTFIX(MainWindow::OnClick)" ||
        e2e_fail "no click record for $E2E_WINE_HOTFIX"
    e2e_log_has "find kb is $E2E_WINE_HOTFIX_NUMBER(HotfixManageItemDetail::OnClickUninstall)" ||
        e2e_fail "no \"find kb is\" record for $E2E_WINE_HOTFIX_NUMBER"
    [ -s "$record" ] || e2e_fail "the fake wusa.exe was not run (exit code $exit_code)"
    command_line=$(cat "$record")
    [ "$command_line" = "$expected_command_line" ] ||
        e2e_fail "wusa.exe got [$command_line], expected [$expected_command_line]"
    folder=$(tr -d '\r' <"$folder_record")
    [ "${folder,,}" = "${E2E_SYSTEM_FOLDER,,}" ] ||
        e2e_fail "wusa.exe started in [$folder], expected [$E2E_SYSTEM_FOLDER]"

    if [ "$status" = 1 ]; then
        # Cancelled: the button is back and the texts have their idle colours.
        E2E_MAIN_OPTIONS=()
        e2e_expect_text btnUninstall@0 "$uninstall_text"
        e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX" FF191919
    else
        E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0)
        [ "$reason" = - ] || E2E_MAIN_OPTIONS+=(--show UninstallReasonLab@0)
        # A restart is due or would let the removal go: the restart bar shows above the list.
        [ "$restart" = 1 ] && E2E_MAIN_OPTIONS+=(--show restartBar)
        e2e_expect_text UninstallResultLab@0 "$(e2e_string "$key")" "$colour"
        e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX" "$grey"
        e2e_expect_text installedTimeText@0 "$E2E_WINE_HOTFIX_DATE_SHOWN" "$grey"
        e2e_expect_no_text UninstallResultLab@0 "$uninstall_text" FF0A59F7
    fi
    e2e_check_texts "outcome-$exit_code" 15
    e2e_crop_window "outcome-$exit_code"

    e2e_close_and_keep_log "exit-code-$exit_code" "installer exit code $exit_code"
done 3<<<"$outcomes"
