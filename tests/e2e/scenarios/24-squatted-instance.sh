# Another program's take on the single instance does not stop the program: with
# the mutex "windows//PC/Orvelle" held by a process that made it without the
# program's security descriptor (owned by the user, not by Administrators), the
# program ignores it, says so once in its log, and shows its list. Wine has no
# private namespaces, so the program then runs without a lock (on Windows it takes
# the lock from the private namespace bound to Administrators). Under Wine no
# linked token guards the program's folder either: the check is skipped, logged once.
E2E_VIEW=result
E2E_ROWS=1
wine 'C:\e2e\e2e_ui.exe' squat mutex 'C:\e2e\squat-release' >"$E2E_OUT/squat.log" 2>&1 &
for i in $(seq 1 120); do
    grep -q squatting "$E2E_OUT/squat.log" 2>/dev/null && break
    sleep 0.5
done
grep -q squatting "$E2E_OUT/squat.log" || e2e_fail "the squatter did not take the mutex: $(cat "$E2E_OUT/squat.log")"

e2e_start_and_wait_list
e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
e2e_check_texts squatted 15
[ "$(e2e_log | grep -cF 'instance mutex of another owner ignored! ret:')" = 1 ] ||
    e2e_fail "the squatted mutex was not logged once: $(e2e_log | grep -F 'instance mutex' || true)"
[ "$(e2e_log | grep -cF 'no linked token, program folder not checked! ret:')" = 1 ] ||
    e2e_fail "the skipped folder check was not logged once"

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "the program ended with $code beside the squatter"
touch "$E2E_PREFIX/drive_c/e2e/squat-release"
