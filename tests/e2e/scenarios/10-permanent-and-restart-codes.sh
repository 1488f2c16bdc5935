# Outcomes known before and after the click. The prefix gets a servicing store
# (tests/e2e/lib/servicing.sh): package keys in the registry and manifests in
# C:\windows\servicing\Packages in the store's own shape. KB5005565 is
# installed with a superseded second package, both permanent by their
# manifests' <package>: its row shows "Can't be removed" in grey where the
# button was, and a click there starts nothing. KB5006670 (removable) and
# KB4023057 (a malformed manifest) stay normal rows. Then the fake installer
# ends with codes Windows Update documents: 2359301 (WU_S_REBOOT_REQUIRED) and
# 0x80070BC2 (3010 as an HRESULT) give the restart outcome; 2359303
# (WU_S_ALREADY_UNINSTALLED) while the store still holds KB5006670's package
# is no removal: the row says it failed. One launch each.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'

e2e_servicing_package 'Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7' 70 \
    Package_for_KB5005565 KB5005565 permanent 'Security Update'
e2e_servicing_package 'Package_1_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7' 50 \
    Package_1_for_KB5005565 KB5005565 permanent 'Security Update'
e2e_servicing_package 'Package_for_KB5006670~31bf3856ad364e35~amd64~~19041.1288.1.3' 70 \
    Package_for_KB5006670 KB5006670 '' 'Security Update'
malformed='Package_for_KB4023057~31bf3856ad364e35~amd64~~10.0.2.0'
e2e_servicing_package "$malformed" 70
e2e_servicing_manifest_text "$malformed" '<assembly xmlns="urn:schemas-microsoft-com:asm.v3"><package identifier="KB4023057" permanence="permanent"'

e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5005565 'Security Update' 9/15/2021 \
    KB5006670 'Security Update' 10/12/2021 \
    KB4023057 Update 1/2/2020)
E2E_VIEW=result
uninstall_text=$(e2e_string IDS_UNINSTALL_HOTFIX_OPERATION)
permanent_look=(--hide btnUninstall@0 --show UninstallPermanentLab@0)

# exit code, status the program reports, the code as logged, label key, label colour, log line
while read -r exit_code status logged key colour line <&3; do
    rm -f "$record"
    # Installed again (the fake installer leaves a removed update pending, as Windows does).
    e2e_servicing_package 'Package_for_KB5006670~31bf3856ad364e35~amd64~~19041.1288.1.3' 70
    export FAKE_WUSA_EXIT_CODE=$exit_code
    e2e_start_and_wait_list
    e2e_log_has 'hotfixes off the installer route:1(' ||
        e2e_fail "the store look-up did not find exactly one permanent hotfix"

    E2E_MAIN_OPTIONS=("${permanent_look[@]}")
    if [ "$E2E_LAUNCH" = 1 ]; then
        e2e_expect_text UninstallPermanentLab@0 "$(e2e_string IDS_UNINSTALL_PERMANENT_CODE)" FF767676
        e2e_expect_no_text UninstallPermanentLab@0 "$uninstall_text" FF0A59F7
        e2e_expect_text btnUninstall@1 "$uninstall_text"
        e2e_expect_text btnUninstall@2 "$uninstall_text"
        e2e_check_texts permanent 15
        e2e_crop_window permanent
        # Where its button would be: nothing to click.
        E2E_MAIN_OPTIONS=()
        e2e_click btnUninstall@0
        E2E_MAIN_OPTIONS=("${permanent_look[@]}")
        sleep 1
        ! e2e_log_has 'click hotfix name:KB5005565' || e2e_fail "the permanent row took a click"
        [ ! -e "$record" ] || e2e_fail "a click on the permanent row ran the installer: $(cat "$record")"
    fi

    e2e_click btnUninstall@1
    e2e_wait_log "unstall status ui callback status:$status(" 30
    e2e_log_has "update uninstall status:$logged(" ||
        e2e_fail "no status line \"update uninstall status:$logged\" (exit code $exit_code)"
    grep -q '/uninstall /kb:5006670' "$record" || e2e_fail "wusa.exe was not run for KB5006670"
    [ -z "$line" ] || e2e_log_has "$line" || e2e_fail "no log line \"$line\" (exit code $exit_code)"
    E2E_MAIN_OPTIONS=("${permanent_look[@]}" --hide btnUninstall@1 --show UninstallResultLab@1)
    # A restart is due: the restart bar shows above the list.
    [ "$status" = 2 ] && E2E_MAIN_OPTIONS+=(--show restartBar)
    e2e_expect_text UninstallResultLab@1 "$(e2e_string "$key")" "$colour"
    e2e_expect_text UninstallPermanentLab@0 "$(e2e_string IDS_UNINSTALL_PERMANENT_CODE)" FF767676
    e2e_check_texts "outcome-$exit_code" 15

    e2e_close_and_keep_log "exit-code-$exit_code" "installer exit code $exit_code"
done 3<<'CODES'
2359301 2 2359301 IDS_UNINSTALL_NEED_RESTART_CODE FFED6F21
0x80070BC2 2 -2147021886 IDS_UNINSTALL_NEED_RESTART_CODE FFED6F21
2359303 4 2359303 IDS_UNINSTALL_FAIL_CODE FFED6F21 KB5006670 not removed: packages still present
CODES
