# Windows Server 2019: the prefix says it is a server as Windows Server does
# (InstallationType "Server", CurrentBuildNumber "17763"), and
# a security update with one top-level package, named after its number. The row
# asks "Uninstall update KB5034441?" first; Enter confirms; the stand-in servicing
# API removes exactly that package, and the installer is never started.
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
record=$E2E_PREFIX/drive_c/e2e/wusa-command-line.txt
export FAKE_WUSA_RECORD='C:\e2e\wusa-command-line.txt'
e2e_dism_standin
e2e_registry <<'REG'
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion]
"InstallationType"="Server"
"CurrentBuildNumber"="17763"
REG
package='Package_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0'
e2e_servicing_package "$package" 70 Package_for_KB5034441 KB5034441 '' 'Security Update'
e2e_servicing_package 'Package_1_for_KB5034441~31bf3856ad364e35~amd64~~10.0.1.0' 70 \
    Package_1_for_KB5034441 KB5034441 '' 'Security Update'
e2e_hotfixes < <(printf '%s\t%s\t%s\n' KB5034441 'Security Update' 1/9/2024)
E2E_VIEW=result
E2E_ROWS=1
E2E_CONFIRM_TITLE_KEY=IDS_PACKAGE_CONFIRM_TITLE

e2e_dism_result 0x80070BC2
e2e_start_and_wait_list
e2e_click btnUninstall@0
e2e_wait_confirm 30
xdotool key Return
e2e_wait_no_confirm 15
e2e_wait_log "remove package $package of KB5034441" 30
e2e_wait_log 'unstall status ui callback status:2(' 60
[ "$(e2e_dism_removed)" = "$package" ] ||
    e2e_fail "the stand-in was asked to remove [$(e2e_dism_removed)], expected [$package]"
[ ! -e "$record" ] || e2e_fail "the installer was started on Server: $(cat "$record")"
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0 --show restartBar)
e2e_expect_text UninstallResultLab@0 "$(e2e_string IDS_UNINSTALL_NEED_RESTART_CODE)" FFED6F21
e2e_check_texts server-removed 20
e2e_close_and_keep_log server-removed "an update removed on Server"
