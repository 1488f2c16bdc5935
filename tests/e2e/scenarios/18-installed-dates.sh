# Installation dates as Win32_QuickFixEngineering writes InstalledOn: a row shows
# the real date a text names, and a text that names none keeps the plain rewrite
# of its "/" pieces, the last one first. In the first list one date has a second
# number above 12, so the list is month first and "31/2/2023" names no date; the
# year-first short date of Japanese and Chinese systems, the compact form and a
# date with spaces round it read as year-month-day. In the second list
# "13/5/2023" makes the whole list day first, so "5/6/2023" is 5 June there.
E2E_VIEW=result
check_dates() {
    local tag=$1 i=0 shown
    shift
    e2e_start_and_wait_list
    for shown in "$@"; do
        e2e_expect_text "installedTimeText@$i" "$shown"
        i=$((i + 1))
    done
    e2e_check_texts "dates-$tag" 15
    e2e_click closeButton
    code=$(e2e_wait_exit "$E2E_LAUNCH" 30)
    [ "$code" = 0 ] || e2e_fail "$tag: exit code $code after the close button"
}

e2e_hotfixes < <(printf '%s\t%s\t%s\n' \
    KB5000001 Update 31/2/2023 KB5000002 Update 2/31/2023 KB5000003 Update 0/0/2023 \
    KB5000004 Update 2023/03/14 KB5000005 Update ' 3/14/2023 ' KB5000006 Update 20230314)
check_dates month-first 2023-31-2 2023-2-31 2023-0-0 2023-3-14 2023-3-14 2023-3-14

e2e_hotfixes < <(printf '%s\t%s\t%s\n' KB5000011 Update 5/6/2023 KB5000012 Update 13/5/2023)
check_dates day-first 2023-6-5 2023-5-13
