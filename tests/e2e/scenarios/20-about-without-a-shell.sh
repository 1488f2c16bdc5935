# The About dialog without a desktop shell (any program of the user can end
# Explorer; here taskkill ends the prefix's): the elevated program starts
# nothing itself, not even the .htm handler, and says why; the dialog stays
# open and shows the notice's path below the link instead (notice-path.png).
e2e_record_htm_opens
notice='C:\OrvelleEx\res\Notice\OpenSourceSoftwareNotice.htm'

e2e_start_and_wait_list
e2e_click aboutButton
e2e_wait_window 30 about
e2e_wait_desktop_shell
wine taskkill /F /IM explorer.exe >>"$E2E_OUT/wine.log" 2>&1 || true
sleep 2
e2e_click about:openSourceStatement
e2e_wait_log 'open open source software notice file fail!' 30
e2e_log_has 'no desktop shell (' || e2e_fail "the program did not say that no desktop shell answered"
sleep 2
[ ! -s "$E2E_PREFIX/drive_c/e2e/opened.txt" ] || e2e_fail "the .htm handler was started without a desktop shell"
[ "$(e2e_window_state about)" != none ] || e2e_fail "the About dialog closed after the notice link"
e2e_screenshot notice-path >/dev/null
e2e_click about:aboutWndCloseButton
e2e_wait_no_window 10 about
e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
