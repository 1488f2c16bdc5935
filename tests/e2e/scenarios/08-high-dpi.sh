# High DPI: with the prefix at 144 DPI (LogPixels, 150 %), the window is its
# layout size times 1.5 and centred; its fonts, the list row (position and
# height) and the count title's width scale: every text is found drawn at its
# scaled font size in its scaled place (the tip button "i" sits right after the
# scaled title), hovering the tip at its scaled place shows the description
# panel, and a click on the row's scaled button uninstalls.
e2e_registry <<'REG'
[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000090
REG
cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/fake_wusa.exe" "$E2E_PREFIX/drive_c/windows/system32/wusa.exe"
export FAKE_WUSA_EXIT_CODE=0

unscaled=$(e2e_layout_size main)
E2E_SCALE=150
E2E_VIEW=result
E2E_ROWS=1
scaled=$(e2e_layout_size main)
read -r width height <<<"$unscaled"
[ "$scaled" = "$((width * 3 / 2)) $((height * 3 / 2))" ] ||
    e2e_fail "the layout tool gives $scaled at 150 % for $unscaled at 100 %"

e2e_start_and_wait_list
geometry=$(e2e_window_geometry)
read -r x y w h <<<"$geometry"
[ "$w $h" = "$scaled" ] || e2e_fail "the window is ${w}x${h} at 144 DPI, expected $scaled"
read -r screen_width screen_height <<<"$(xdotool getdisplaygeometry)"
off_x=$((x + w / 2 - screen_width / 2))
off_y=$((y + h / 2 - screen_height / 2))
[ "${off_x#-}" -le 1 ] && [ "${off_y#-}" -le 1 ] || e2e_fail "the window is not centred ($geometry)"

title=$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 1)
e2e_expect_layout_texts main
e2e_expect_text hotfixFirstTitle "$title"
e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
e2e_expect_text installedTimeText@0 "$E2E_WINE_HOTFIX_DATE_SHOWN"
e2e_check_texts list-150 15

e2e_hover btnUninstallTip
e2e_wait_log 'MainWindow OnMouseEnter btnUninstallTip!' 10
E2E_MAIN_OPTIONS=(--show hotfixDiscribeLayout)
e2e_expect_text hotfixDescribeTitle "$(e2e_string IDS_HOTFIX_DESCRIBE_TITLE)"
e2e_check_texts tip-150 10
xdotool mousemove 0 0
e2e_wait_log 'MainWindow OnMouseLeave btnUninstallTip!' 10

E2E_MAIN_OPTIONS=()
e2e_click btnUninstall@0
e2e_wait_log 'unstall status ui callback status:0(' 30
E2E_MAIN_OPTIONS=(--hide btnUninstall@0 --show UninstallResultLab@0)
e2e_expect_text UninstallResultLab@0 "$(e2e_string IDS_UNINSTALL_SUCCESS_CODE)" FF64BB5C
e2e_check_texts outcome-150 15

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
