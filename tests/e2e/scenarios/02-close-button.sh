# The close button ends the process with exit code 0, its window goes away, and
# a later launch starts normally (the single-instance mutex ended with it).
e2e_start
e2e_wait_window 60
e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button, expected 0"
[ "$(e2e_window_state)" = none ] || e2e_fail "the main window is still there after closing"

e2e_start
e2e_wait_window 60
e2e_click closeButton
code=$(e2e_wait_exit 2 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the second launch's close button, expected 0"
