# Installed under a folder name that the ANSI code page lacks (Windows-1252 for
# en-US, the name Cyrillic and Chinese): the program still finds and reads every
# file beside it, the description catalogue included, so the row shows the
# hotfix's description and nothing is reported missing.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
folder='Программы 更新'
mkdir -p "$E2E_PREFIX/drive_c/$folder"
mv "$E2E_APP_DIR" "$E2E_PREFIX/drive_c/$folder/OrvelleEx"
E2E_APP_DIR=$E2E_PREFIX/drive_c/$folder/OrvelleEx
E2E_EXE="C:\\$folder\\OrvelleEx\\OrvelleEx.exe"

E2E_VIEW=result
E2E_ROWS=1
e2e_start_and_wait_list
e2e_expect_layout_texts main
e2e_expect_text descriptionText@0 "$(e2e_string "$E2E_WINE_HOTFIX_DESCRIPTION_KEY")"
e2e_check_texts list 15
e2e_log_has 'find value success!' || e2e_fail "the catalogue gave no description"
for line in 'hotfix description xml file is not exist!' 'hotfix description xml file fail!' \
    'get language resource file fail!'; do
    if e2e_log_has "$line"; then
        e2e_fail "the program logged \"$line\""
    fi
done

e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "exit code $code after the close button"
