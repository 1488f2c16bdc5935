# The About dialog by keyboard alone: Tab reaches the about button (the focus
# indicator round it), Enter opens the dialog with the indicator round its close
# button, Tab reaches its notice link, Enter opens the notice through the
# shell's .htm handler (e2e_ui.exe's "record"); back in the dialog (a click: the
# notice took the keyboard, as a browser does), Esc closes it, and the focus is
# back on the about button: its indicator shows and Enter opens the dialog
# again. Tab and Enter on the close button end the program.
e2e_record_htm_opens
notice='C:\OrvelleEx\res\Notice\OpenSourceSoftwareNotice.htm'

E2E_VIEW=result
E2E_ROWS=1
e2e_start_and_wait_list
e2e_key Tab
[ "$(e2e_wait_focus_ring)" = aboutButton ] || e2e_fail "the first Tab did not reach the about button"
e2e_crop_window focus-aboutButton
e2e_key Return
e2e_wait_window 30 about
# Opened by a key, it shows its focus indicator at once, round the close button.
name=$(e2e_wait_focus_ring about)
[ "$name" = aboutWndCloseButton ] || e2e_fail "the About dialog opened with $name focused"

# Tab goes on to the link.
e2e_key Tab about
name=$(e2e_wait_focus_ring about)
[ "$name" = openSourceStatement ] || e2e_fail "Tab in the About dialog reached $name, expected openSourceStatement"
e2e_crop_window "focus-$name" about
e2e_wait_desktop_shell
e2e_key Return about
e2e_expect_opened "$notice" "Enter on the notice link"
[ "$(e2e_window_state about)" != none ] || e2e_fail "the About dialog closed after the notice link"
# The opened notice took the keyboard, as a browser would. The user comes back to
# the dialog (Alt+Tab on Windows; here, with no window manager, a click on its
# text); the focus is still on the link, and its indicator shows again at the
# next key (Shift, which does nothing else). The handler's process may take the
# keyboard only after the click, as a slow browser does: then the user clicks again.
for _ in 1 2 3 4; do
    e2e_click about:aboutDescription
    xdotool key shift
    sleep 1
    e2e_focus_ring_shows about >/dev/null && break
done
name=$(e2e_wait_focus_ring about 2)
[ "$name" = openSourceStatement ] || e2e_fail "the link lost the focus"

e2e_key Escape about
e2e_wait_no_window 10 about
read -r _ _ _ _ _ enabled _ <<<"$(e2e_window_state main)"
[ "$enabled" = 1 ] || e2e_fail "the main window takes no input after Esc closed the About dialog"
[ "$(e2e_wait_focus_ring)" = aboutButton ] || e2e_fail "the focus did not come back to the about button"
e2e_key Return
e2e_wait_window 30 about
e2e_key Escape about
e2e_wait_no_window 10 about

e2e_key Tab
e2e_key Tab
[ "$(e2e_wait_focus_ring)" = closeButton ] || e2e_fail "Tab did not reach the close button"
e2e_key Return
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after Enter on the close button"
