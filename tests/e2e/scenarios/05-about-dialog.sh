# The About dialog: opened by the about button, in front of the disabled main
# window, it shows its texts and the file version ending in 1.1.1.3; its notice
# link opens the notice through the shell's default handler for .htm files (here
# e2e_ui.exe's "record", which writes down the path it was given) and the
# dialog stays open; its close button closes it and the main window takes input
# again.
e2e_record_htm_opens
notice='C:\OrvelleEx\res\Notice\OpenSourceSoftwareNotice.htm'

E2E_VIEW=result
E2E_ROWS=1
e2e_start_and_wait_list
e2e_click aboutButton
e2e_wait_window 30 about
read -r _ _ _ _ _ enabled _ <<<"$(e2e_window_state main)"
[ "$enabled" = 0 ] || e2e_fail "the main window takes input while the About dialog is open"

version_label=$(e2e_string IDS_ABOUT_VERSION)
e2e_expect_layout_texts about
e2e_expect_text about:toolVersion "${version_label/\{0\}/1.1.1.3}"
e2e_check_texts about 15
e2e_crop_window about about

e2e_wait_desktop_shell
e2e_click about:openSourceStatement
e2e_expect_opened "$notice" "the notice link"
for line in 'open open source software notice file fail!' 'open source software notice file is not exist!'; do
    if e2e_log_has "$line"; then
        e2e_fail "the About dialog logged \"$line\""
    fi
done
[ "$(e2e_window_state about)" != none ] || e2e_fail "the About dialog closed after the notice link"

e2e_click about:aboutWndCloseButton
e2e_wait_no_window 10 about
read -r _ _ _ _ _ enabled _ <<<"$(e2e_window_state main)"
[ "$enabled" = 1 ] || e2e_fail "the main window takes no input after the About dialog closed"

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
