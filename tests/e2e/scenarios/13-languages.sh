# Every shipped language (each file in res/values/), one start each in the same prefix: with LANG set to
# the language's locale (Wine takes the user's UI language and the system's
# fonts from it) the list and the About dialog show that language's texts where
# the layout puts them, found pixel for pixel, and no key is missing; the fit
# check of the Windows suite then measures every view of that language again
# under the same locale. The windows are kept as the gallery of docs/languages.md
# (tests/e2e/screenshots.sh).
suite=$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/orvelle_win_tests.exe
[ -f "$suite" ] || e2e_fail "$suite is missing; build with: cmake --build --preset windows"

E2E_VIEW=result
E2E_ROWS=1
for file in "$E2E_APP_DIR/res/values/"*.xml; do
    language=$(basename "$file" .xml)
    locale=${language/-/_}.UTF-8
    locale -a 2>/dev/null | grep -qix "${language/-/_}.utf8" ||
        e2e_fail "the locale $locale is not generated (scripts/setup.sh generates it)"
    export LANG=$locale LC_ALL=$locale
    E2E_LANG=$language

    e2e_start_and_wait_list
    e2e_expect_layout_texts main
    e2e_expect_text hotfixFirstTitle "$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 1)"
    e2e_expect_text descriptionText@0 "$(e2e_string "$E2E_WINE_HOTFIX_DESCRIPTION_KEY")"
    e2e_expect_text installedTimeText@0 "$E2E_WINE_HOTFIX_DATE_SHOWN"
    e2e_check_texts "list-$language" 15
    e2e_crop_window "list-$language"

    e2e_click aboutButton
    e2e_wait_window 30 about
    e2e_expect_layout_texts about
    version_label=$(e2e_string IDS_ABOUT_VERSION)
    e2e_expect_text about:toolVersion "${version_label/\{0\}/1.1.1.3}"
    e2e_check_texts "about-$language" 15
    e2e_crop_window "about-$language" about
    e2e_click about:aboutWndCloseButton
    e2e_wait_no_window 15 about

    if e2e_log_has 'unknown language key:'; then
        e2e_fail "$language: $(e2e_log | grep -F 'unknown language key:' | head -n3)"
    fi
    e2e_click closeButton
    code=$(e2e_wait_exit "$E2E_LAUNCH" 30)
    [ "$code" = 0 ] || e2e_fail "$language: exit code $code after the close button"
    e2e_keep_log "$language"

    # The same language measured under its own locale's fonts.
    fit_log=$E2E_OUT/fit-$language.log
    (cd "$ORVELLE_ROOT" && wine "$suite" --gtest_filter="Shipped/TextFitTest.*/${language/-/_}" \
        >"$fit_log" 2>&1) || true
    grep -q '^\[  PASSED  \] 1 test' "$fit_log" ||
        e2e_fail "$language: texts that do not fit under $locale: $(grep -E '^  [a-z]{2}-' "$fit_log" | head -n5)"
done
