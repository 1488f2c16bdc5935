# The confirmation dialog of a cumulative update and the texts of a removal in
# progress (sourced by tests/e2e/lib.sh).
#
#   e2e_confirm_state            the dialog's window state line (e2e_ui window), or "none"
#   e2e_wait_confirm [SECONDS]   until the dialog shows
#   e2e_wait_no_confirm [SECONDS]
#   e2e_progress_text PERCENT    the row's status line at that percentage, in E2E_LANG

E2E_CONFIRM_CLASS=OrvelleConfirmExUI
# The dialog's title: the cumulative update's, or IDS_PACKAGE_CONFIRM_TITLE for any other.
E2E_CONFIRM_TITLE_KEY=${E2E_CONFIRM_TITLE_KEY:-IDS_CUMULATIVE_CONFIRM_TITLE}

e2e_confirm_state() {
    e2e_ui window "$E2E_CONFIRM_CLASS" "$(e2e_string "$E2E_CONFIRM_TITLE_KEY")" || true
}

e2e_wait_confirm() {
    local seconds=${1:-30} i state
    for i in $(seq 1 $((seconds * 4))); do
        state=$(e2e_confirm_state)
        [ -n "$state" ] && [ "$state" != none ] && return 0
        sleep 0.25
    done
    e2e_fail "the confirmation dialog did not appear within ${seconds}s"
}

e2e_wait_no_confirm() {
    local seconds=${1:-15} i
    for i in $(seq 1 $((seconds * 4))); do
        [ "$(e2e_confirm_state)" = none ] && return 0
        sleep 0.25
    done
    e2e_fail "the confirmation dialog is still there after ${seconds}s"
}

e2e_progress_text() {
    local pattern
    pattern=$(e2e_string IDS_UNINSTALL_PROGRESS)
    echo "${pattern//\{0\}/$1}"
}
