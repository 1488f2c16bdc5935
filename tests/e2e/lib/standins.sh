# Stand-ins the program meets instead of Windows' own: WMI, Windows Update and the .htm handler.
# The fake installer (tests/windows/fake_wusa/) is system32\wusa.exe; the
# program starts it by its full path from GetSystemDirectoryW (Wine writes
# "C:\windows\system32"), quoted, then the parameters " /uninstall /kb:<number>":
E2E_WUSA_COMMAND='"C:\windows\system32\wusa.exe"'
E2E_SYSTEM_FOLDER='C:\windows\system32'
# WMI: e2e_wmi.dll (tools/e2e_wmi.cpp, where its files are described) stands in
# for the WbemLocator class once a scenario calls one of the WMI helpers. With
# e2e_hotfixes it serves a list; without, Wine's WMI answers (one hotfix, below).
# A list is one hotfix a line, HotFixID, Description and InstalledOn separated by
# tabs; "<null>" is a null value, "<missing>" an absent property. printf writes
# the tabs, three arguments a line; "< <(...)", not a pipe, keeps e2e_hotfixes in
# the scenario's shell (it sets E2E_ROWS); the list may change between two loads:
#   e2e_hotfixes < <(printf '%s\t%s\t%s\n' KB5034441 'Security Update' 1/9/2024 \
#       KB5034439 '' '<null>')
#   e2e_hotfixes < <(for i in $(seq 1 60); do
#       printf 'KB50%05d\tUpdate\t3/%d/2024\n' "$i" "$((i % 28 + 1))"; done)
#   e2e_wmi_fail 0x80041003             (ExecQuery fails: the failure view)
#   e2e_wmi_fail 0x80041001 Next 2      (Next fails after two hotfixes)
#   e2e_wmi_fail 0x40004 Next           (Next times out, WBEM_S_TIMEDOUT)
#   e2e_wmi_slow 1500                   (the loading view shows for 1.5 s)
# e2e_wmi_calls shows what the program asked for ("ConnectServer ROOT\CIMV2 ...",
# "Next timeout=60000 count=1 -> 0x00000001 returned=0", "all objects released").
#   e2e_hotfixes <LIST         WMI reports the hotfixes of LIST instead of Wine's one
#   e2e_wmi_fail HRESULT [STAGE [AFTER]]  a WMI call fails; e2e_wmi_fail none: no more
#   e2e_wmi_slow MS            the hotfixes come MS ms after the query (0: at once)
#   e2e_wmi_calls              what the program asked of WMI, a line per call
#   e2e_gate_wmi               makes the next WMI query wait
#   e2e_wait_wmi_held [S]      waits until the query waits at the gate
#   e2e_release_wmi            lets it go on
#   e2e_record_htm_opens       .htm files open through e2e_ui.exe's "record"
#   e2e_expect_opened PATH ACTION  waits until the .htm handler was given PATH (by ACTION)
#   e2e_wait_desktop_shell     waits until the prefix's desktop shell (Explorer) answers

# What Wine's WMI reports: one hotfix (Win32_QuickFixEngineering), its category
# and its date as Wine writes it (day first, "22/2/2022").
E2E_WINE_HOTFIX=KB1234567
E2E_WINE_HOTFIX_NUMBER=1234567
E2E_WINE_HOTFIX_DESCRIPTION_KEY=IDS_HOTFIX_DESC_UPDATE
# The first number cannot be a month, so the program reads it day first.
E2E_WINE_HOTFIX_DATE_SHOWN=2022-2-22

# e2e_wmi.dll becomes the WbemLocator class (once per prefix).
e2e_wmi_register() {
    [ "$E2E_WMI_REGISTERED" = 1 ] && return 0
    e2e_register_standin '{4590F811-1D3A-11D0-891F-00AA004B2E24}' e2e_wmi.dll
    E2E_WMI_REGISTERED=1
}

# A stand-in DLL in C:\e2e\ becomes the in-process server of class CLSID.
e2e_register_standin() {
    e2e_registry <<REG
[HKEY_CLASSES_ROOT\\CLSID\\$1\\InprocServer32]
@="C:\\\\e2e\\\\$2"
"ThreadingModel"="Both"
REG
}

# Writes a file into C:\e2e\ whole (e2e_wmi.dll may read it at any moment).
e2e_wmi_file() {
    local file=$E2E_PREFIX/drive_c/e2e/$1
    cat >"$file.new"
    mv -f "$file.new" "$file"
}

e2e_hotfixes() {
    local list line number=0 rows=0 tabs
    list=$(cat)
    while IFS= read -r line; do
        number=$((number + 1))
        [ -n "$line" ] || continue
        tabs=${line//[^$'\t']/}
        [ "${#tabs}" = 2 ] ||
            e2e_fail "e2e_hotfixes: line $number has $((${#tabs} + 1)) tab-separated fields, not 3: $line"
        rows=$((rows + 1))
    done <<<"$list"
    printf '%s\n' "$list" | e2e_wmi_file hotfixes.txt
    E2E_ROWS=$rows
    e2e_wmi_register
}

e2e_wmi_fail() {
    local stage=${2:-ExecQuery}
    if [ "$1" = none ]; then
        rm -f "$E2E_PREFIX/drive_c/e2e/wmi-fail.txt"
        return 0
    fi
    case $stage in
        CreateInstance | ConnectServer | ExecQuery | Next) ;;
        *) e2e_fail "e2e_wmi_fail: no WMI call \"$stage\"" ;;
    esac
    [ -f "$E2E_PREFIX/drive_c/e2e/hotfixes.txt" ] ||
        e2e_fail "e2e_wmi_fail: Wine's WMI cannot fail; give a list first (e2e_hotfixes)"
    echo "$stage $1 ${3:-0}" | e2e_wmi_file wmi-fail.txt
}

e2e_wmi_slow() {
    [ -f "$E2E_PREFIX/drive_c/e2e/hotfixes.txt" ] ||
        e2e_fail "e2e_wmi_slow: Wine's WMI cannot be slowed; give a list first (e2e_hotfixes)"
    echo "$1" | e2e_wmi_file wmi-slow.txt
}

e2e_wmi_calls() {
    local file=$E2E_PREFIX/drive_c/e2e/wmi-calls.txt
    [ -f "$file" ] && cat "$file"
    return 0
}

# The next WMI query (served or Wine's) waits in e2e_wmi.dll until
# e2e_release_wmi; e2e_wait_wmi_held waits until it is there. Each gate holds once.
e2e_gate_wmi() {
    rm -f "$E2E_PREFIX/drive_c/e2e/wmi-held" "$E2E_PREFIX/drive_c/e2e/wmi-release"
    touch "$E2E_PREFIX/drive_c/e2e/wmi-hold"
    e2e_wmi_register
}

e2e_wait_wmi_held() {
    e2e_wait_standin_marker wmi-held "the WMI query did not reach the gate" "${1:-60}"
}

# Waits until a stand-in has written MARKER into C:\e2e\; fails saying WHAT.
e2e_wait_standin_marker() {
    local marker=$1 what=$2 seconds=$3 i
    for i in $(seq 1 $((seconds * 4))); do
        [ -e "$E2E_PREFIX/drive_c/e2e/$marker" ] && return 0
        sleep 0.25
    done
    e2e_fail "$what within ${seconds}s"
}

e2e_release_wmi() {
    touch "$E2E_PREFIX/drive_c/e2e/wmi-release"
}

# .htm files open through e2e_ui.exe's "record", which writes the path it was
# given to C:\e2e\opened.txt.
e2e_record_htm_opens() {
    e2e_registry <<'REG'
[HKEY_CLASSES_ROOT\.htm]
@="OrvelleE2E.htm"

[HKEY_CLASSES_ROOT\OrvelleE2E.htm\shell\open\command]
@="\"C:\\e2e\\e2e_ui.exe\" record \"C:\\e2e\\opened.txt\" \"%1\""
REG
}

# Wine's Explorer registers its shell windows a moment after the prefix starts;
# before that the program finds no desktop shell and opens nothing, as on
# Windows without Explorer.
e2e_wait_desktop_shell() {
    local i
    for i in $(seq 1 120); do
        [ "$(e2e_ui shell || true)" = ready ] && return 0
        sleep 0.25
    done
    e2e_fail "the prefix's desktop shell did not answer within 30s"
}

e2e_expect_opened() {
    local expected=$1 action=$2 opened=$E2E_PREFIX/drive_c/e2e/opened.txt i got
    for i in $(seq 1 60); do
        [ -s "$opened" ] && break
        sleep 0.25
    done
    [ -s "$opened" ] || e2e_fail "$action opened nothing through the .htm handler"
    got=$(tr -d '\r' <"$opened")
    [ "$got" = "$expected" ] || e2e_fail "the .htm handler was given [$got], expected [$expected]"
}

# Windows Update: e2e_wua.dll (tools/e2e_wua.cpp, where its files are
# described) stands in for the UpdateSession class once a scenario calls one of
# these; without, Wine's own wuapi.dll answers. History and offer are read from
# stdin, tab-separated (printf writes the tabs):
#   e2e_wua_history < <(printf '%s\t%s\n' 45299.6 \
#       '2024-01 Cumulative Update for Windows 11 Version 23H2 for x64-based Systems (KB5034123)')
#   e2e_wua_offer < <(printf '%s\t%s\t%s\n' 5034441 - \
#       '2024-01 Security Update for Windows 10 Version 22H2 for x64-based Systems (KB5034441)')
#   e2e_wua_fail history 0x80070422     (GetTotalHistoryCount fails; search, hide likewise)
#   e2e_wua_hold history|search         the next such call waits (a search also
#   e2e_wait_wua_held [S]               until RequestAbort); e2e_release_wua lets it go
#   e2e_wua_calls                       what the program asked, a line per call
#   e2e_wua_hidden                      every put_IsHidden: "KB5034441 true -> 0x00000000"

# e2e_wua.dll becomes the UpdateSession class (once per prefix), registered
# machine-wide: an elevated process gets no per-user class.
e2e_wua_register() {
    [ "$E2E_WUA_REGISTERED" = 1 ] && return 0
    e2e_register_standin '{4CB43D7F-7EEE-4906-8698-60DA1C38F2FE}' e2e_wua.dll
    E2E_WUA_REGISTERED=1
}

e2e_wua_history() {
    e2e_wmi_file wua-history.txt
    e2e_wua_register
}

e2e_wua_offer() {
    e2e_wmi_file wua-offer.txt
    e2e_wua_register
}

e2e_wua_fail() {
    case $1 in
        history | search | hide) ;;
        none)
            rm -f "$E2E_PREFIX/drive_c/e2e/wua-fail.txt"
            return 0
            ;;
        *) e2e_fail "e2e_wua_fail: no Windows Update call \"$1\"" ;;
    esac
    echo "$1 $2" | e2e_wmi_file wua-fail.txt
    e2e_wua_register
}

e2e_wua_hold() {
    rm -f "$E2E_PREFIX/drive_c/e2e/wua-held" "$E2E_PREFIX/drive_c/e2e/wua-release"
    echo "$1" | e2e_wmi_file wua-hold
    e2e_wua_register
}

e2e_wait_wua_held() {
    e2e_wait_standin_marker wua-held "Windows Update did not reach the hold" "${1:-60}"
}

e2e_release_wua() {
    touch "$E2E_PREFIX/drive_c/e2e/wua-release"
}

e2e_wua_calls() {
    local file=$E2E_PREFIX/drive_c/e2e/wua-calls.txt
    [ -f "$file" ] && tr -d '\r' <"$file"
    return 0
}

e2e_wua_hidden() {
    local file=$E2E_PREFIX/drive_c/e2e/wua-hidden.txt
    [ -f "$file" ] && tr -d '\r' <"$file"
    return 0
}
