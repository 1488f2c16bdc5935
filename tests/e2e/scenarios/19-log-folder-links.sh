# Links in the log's way: the folder the program logged to before,
# %LOCALAPPDATA%\Orvelle, is a link (a symbolic link in the prefix, which lies
# on a Unix file system) to another folder holding files named as the logs; a
# run changes nothing there, and the log goes to %ProgramData%\Orvelle\Logs.
# Then the log folder is one that everyone may write (mode 0777, which Wine
# shows as an entry letting Everyone write), as a folder someone else made
# would be: the program runs as before (the list shows), writes no log there,
# and says why. (Wine follows a symbolic link in the prefix as a plain folder
# and cannot make junctions, so a linked log folder itself is refused only on
# Windows and in the native suite.)
elsewhere=$E2E_PREFIX/drive_c/elsewhere
mkdir -p "$elsewhere"
for name in Orvelle.log Orvelle.1.log Orvelle.2.log Orvelle.3.log; do
    echo "not the program's: $name" >"$elsewhere/$name"
done
snapshot() { (cd "$1" && find . -printf '%p %s %T@\n' | sort && cat ./* 2>/dev/null); }
before=$(snapshot "$elsewhere")
user_folder=$(orvelle_wine_localappdata "$E2E_PREFIX")
mkdir -p "$user_folder"
ln -s "$elsewhere" "$user_folder/Orvelle"

e2e_start_and_wait_list
[ "$(snapshot "$elsewhere")" = "$before" ] ||
    e2e_fail "the folder the old log folder links to changed"
[ -f "$E2E_LOG_DIR/Orvelle.log" ] || e2e_fail "no log in %ProgramData%\\Orvelle\\Logs"
e2e_close_and_keep_log program-data "the run that logs to %ProgramData%"

rm -rf "$E2E_LOG_DIR"
mkdir -m 0777 "$E2E_LOG_DIR"
E2E_VIEW=result
E2E_ROWS=1
e2e_start
e2e_wait_window 60
e2e_expect_layout_texts main
e2e_check_texts list-without-log 60
[ -z "$(ls -A "$E2E_LOG_DIR")" ] || e2e_fail "the program wrote into a log folder everyone may write"
grep -qF 'KtLogger: C:\ProgramData\Orvelle\Logs' "$E2E_OUT/launch-$E2E_LAUNCH.log" ||
    e2e_fail "the program did not say why it logs nowhere (launch-$E2E_LAUNCH.log)"
e2e_click closeButton
code=$(e2e_wait_exit "$E2E_LAUNCH" 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after closing the run without a log"
[ "$(snapshot "$elsewhere")" = "$before" ] ||
    e2e_fail "the folder the old log folder links to changed"
