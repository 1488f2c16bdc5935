# The "Learn more" link under a row's identifier: Enter on it after Tab, and a
# click on it, hand the update's support article to the as-user opener (the desktop
# shell), never to this elevated process, which hands it to the user's handler for
# https addresses (here e2e_ui.exe's "record", which writes down what it was given);
# the list is not loaded again.
e2e_hotfixes < <(printf '%s\t%s\t%s\n' KB5034441 'Security Update' 1/9/2024)
E2E_VIEW=result
e2e_registry <<'REG'
[HKEY_CLASSES_ROOT\https\shell\open\command]
@="\"C:\\e2e\\e2e_ui.exe\" record \"C:\\e2e\\opened.txt\" \"%1\""
REG
url=https://support.microsoft.com/help/5034441
as_user="open url through the desktop shell:$url(UrlsManager::OpenUrl)"
e2e_start_and_wait_list
e2e_wait_desktop_shell
e2e_expect_text 'learnMoreLink@0#0' "$(e2e_string IDS_LEARN_MORE_LINK | sed 's/{a[^}]*}//; s/{\/a}//')"

opened() {
    e2e_log | grep -cF -- "$as_user" || true
}

# Keys alone first (a click would move the focus): the title bar, the tip, the row's link.
for expected in aboutButton minButton closeButton btnUninstallTip learnMoreLink@0; do
    e2e_key Tab
    name=$(e2e_wait_focus_ring)
    [ "$name" = "$expected" ] || e2e_fail "Tab reached $name, expected $expected"
done
e2e_key Return
e2e_expect_opened "$url" "Enter on the link"
rm -f "$E2E_PREFIX/drive_c/e2e/opened.txt"
e2e_click 'learnMoreLink@0#0'
e2e_expect_opened "$url" "a click on the link"
for i in $(seq 1 60); do
    [ "$(opened)" -ge 2 ] && break
    sleep 0.25
done
[ "$(opened)" = 2 ] || e2e_fail "the as-user opener was given $url $(opened) times, expected 2"

sleep 2  # time for a reload, were one started
if e2e_log_has 'ENTER Reload Hotfix link'; then
    e2e_fail "the row's link reloaded the list"
fi
loads=$(e2e_log | grep -c 'get install list ret:' || true)
[ "$loads" = 1 ] || e2e_fail "the list was loaded $loads times, expected once"
e2e_check_texts after-link 15

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
