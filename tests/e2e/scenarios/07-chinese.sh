# Another language: with the user's UI language Chinese (Wine takes it from
# LANG/LC_ALL zh_CN.UTF-8) and a CJK font in the prefix, every text of the main
# window and of the About dialog is the zh-CN file's, drawn where the layout
# puts it: each is found pixel for pixel, the English ones are not there, and
# no key was missing from the language file.
locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' ||
    e2e_fail "the locale zh_CN.UTF-8 is not generated (scripts/setup.sh generates it)"
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
[ -f "$font" ] || e2e_fail "$font is missing (Debian package fonts-wqy-microhei)"
cp "$font" "$E2E_PREFIX/drive_c/windows/Fonts/"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

E2E_VIEW=result
E2E_ROWS=1
e2e_start_and_wait_list

E2E_LANG=en-US
english_button=$(e2e_string IDS_UNINSTALL_HOTFIX_OPERATION)
english_title=$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 1)
E2E_LANG=zh-CN
title=$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 1)
description=$(e2e_string "$E2E_WINE_HOTFIX_DESCRIPTION_KEY")
button=$(e2e_string IDS_UNINSTALL_HOTFIX_OPERATION)
[ "$button" != "$english_button" ] || e2e_fail "the zh-CN file gives the English \"$button\""
e2e_expect_layout_texts main
e2e_expect_text hotfixFirstTitle "$title"
e2e_expect_text descriptionText@0 "$description"
e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
e2e_expect_text installedTimeText@0 "$E2E_WINE_HOTFIX_DATE_SHOWN"
e2e_expect_no_text btnUninstall@0 "$english_button"
e2e_expect_no_text hotfixFirstTitle "$english_title"
e2e_check_texts list-zh 15

e2e_click aboutButton
e2e_wait_window 30 about
e2e_expect_layout_texts about
version_label=$(e2e_string IDS_ABOUT_VERSION)
e2e_expect_text about:toolVersion "${version_label/\{0\}/1.1.1.3}"
e2e_check_texts about-zh 15
e2e_click about:aboutWndCloseButton
e2e_wait_no_window 15 about

if e2e_log_has 'unknown language key:'; then
    e2e_fail "a key is missing from the zh-CN file: $(e2e_log | grep -F 'unknown language key:' | head -n3)"
fi
if e2e_log_has 'get language resource file fail!'; then
    e2e_fail "start-up found no language resources"
fi
e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
