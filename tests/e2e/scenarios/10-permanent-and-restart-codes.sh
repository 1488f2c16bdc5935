# Outcomes known before and after the click. The prefix gets a servicing store:
# package keys in the registry and their manifests in
# C:\windows\servicing\Packages. KB5005565 is installed with a superseded second
# package, both marked permanent: its row shows "Can't be removed" in grey where
# the button was, and a click there starts nothing. KB5006670 (removable) and
# KB4023057 (a malformed manifest) stay normal rows. Then the fake installer ends
# with codes Windows Update documents: 2359301 (WU_S_REBOOT_REQUIRED) and
# 0x80070BC2 (3010 as an HRESULT) give the restart outcome, 2359303
# (WU_S_ALREADY_UNINSTALLED) the success outcome; one launch each.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'

permanent='Package_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7'
superseded='Package_1_for_KB5005565~31bf3856ad364e35~amd64~~19041.1237.1.7'
removable='Package_for_KB5006670~31bf3856ad364e35~amd64~~19041.1288.1.3'
malformed='Package_for_KB4023057~31bf3856ad364e35~amd64~~10.0.2.0'
store='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Component Based Servicing\Packages'
e2e_registry <<REG
[$store\\$permanent]
"CurrentState"=dword:00000070

[$store\\$superseded]
"CurrentState"=dword:00000050

[$store\\$removable]
"CurrentState"=dword:00000070

[$store\\$malformed]
"CurrentState"=dword:00000070
REG
manifests=$E2E_PREFIX/drive_c/windows/servicing/Packages
mkdir -p "$manifests"
manifest() {
    printf '<?xml version="1.0" encoding="utf-8"?>\n<assembly xmlns="urn:schemas-microsoft-com:asm.v3" manifestVersion="1.0"%s>\n  <package identifier="%s"/>\n</assembly>\n' "$2" "$1"
}
manifest KB5005565 ' permanence="permanent"' >"$manifests/$permanent.mum"
manifest KB5005565 ' permanence="permanent"' >"$manifests/$superseded.mum"
manifest KB5006670 '' >"$manifests/$removable.mum"
printf '<assembly permanence="permanent"' >"$manifests/$malformed.mum"

e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5005565 'Security Update' 9/15/2021 \
    KB5006670 'Security Update' 10/12/2021 \
    KB4023057 Update 1/2/2020)
E2E_VIEW=result
uninstall_text=$(e2e_string IDS_UNINSTALL_HOTFIX_OPERATION)
permanent_look=(--hide btnUninstall@0 --show UninstallPermanentLab@0)

# exit code, status the program reports, the code as logged, label key, label colour
while read -r exit_code status logged key colour <&3; do
    rm -f "$record"
    export FAKE_WUSA_EXIT_CODE=$exit_code
    e2e_start_and_wait_list
    e2e_log_has 'permanent hotfix count:1(' || e2e_fail "the store look-up did not find one permanent hotfix"

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
    E2E_MAIN_OPTIONS=("${permanent_look[@]}" --hide btnUninstall@1 --show UninstallResultLab@1)
    e2e_expect_text UninstallResultLab@1 "$(e2e_string "$key")" "$colour"
    e2e_expect_text UninstallPermanentLab@0 "$(e2e_string IDS_UNINSTALL_PERMANENT_CODE)" FF767676
    e2e_check_texts "outcome-$exit_code" 15

    e2e_close_and_keep_log "exit-code-$exit_code" "installer exit code $exit_code"
done 3<<'CODES'
2359301 2 2359301 IDS_UNINSTALL_NEED_RESTART_CODE FFED6F21
0x80070BC2 2 -2147021886 IDS_UNINSTALL_NEED_RESTART_CODE FFED6F21
2359303 0 2359303 IDS_UNINSTALL_SUCCESS_CODE FF64BB5C
CODES
