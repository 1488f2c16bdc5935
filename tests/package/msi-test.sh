#!/usr/bin/env bash
# The Windows Installer package under Wine, in a fresh prefix, used silently as
# an administrator would (msiexec /qn):
#   - the package (dist/, built by scripts/package.sh) installs; Program Files
#     holds exactly the files of the portable zip (the exe as signed, when it
#     is); with ORVELLE_TEST_SIGNER (a certificate, as tests/package/
#     signing-test.sh leaves it) the package and the installed exe verify
#     against it; the Start-menu shortcut starts the
#     executable there; the uninstall entry carries the name, version and
#     publisher of the executable's version resource, and the product icon;
#   - the install folder cannot be redirected from the command line: with
#     INSTALLDIR naming a folder users can write, it still goes to Program Files;
#   - the installed program starts from Program Files and shows the list;
#   - removal leaves no file, folder, shortcut or entry; only the program's own
#     log folder (the user's) stays;
#   - an earlier revision of this build installs and the package replaces it
#     (one entry, the new version); an older build refuses to replace it (1603),
#     and so does the earlier revision, though Windows Installer compares only
#     three fields of a version.
# The lower versions are built by scripts/package.sh from the same WiX source.
# msiexec's exit code is read in full through e2e_ui.exe run (GetExitCodeProcess):
# the shell's $? keeps only its low byte under Wine, where 1603 reads 67.
# Needs dist/windows/ and the package (scripts/package.sh), e2e_ui.exe of the
# Windows build and the native layout tool (see tests/e2e/run.sh). Leaves the
# msiexec logs under build/e2e/msi-package/, and the prefix when it fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
# No menu entries on the Linux side for the shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
source scripts/wine-env.sh
source tests/e2e/lib.sh

# What the executable's version resource says, for the package to match.
exe_info() {
    strings -el dist/windows/OrvelleEx.exe | sed -n "/^$1\$/{n;p;q}"
}
version=$(exe_info FileVersion)
publisher=$(exe_info CompanyName)
if [ -z "$version" ] || [ -z "$publisher" ]; then
    echo "msi-test: no version resource in dist/windows/OrvelleEx.exe" >&2
    exit 1
fi
IFS=. read -r major minor build revision <<<"$version"
if [ "${revision:-0}" = 0 ]; then
    echo "msi-test: $version has no earlier revision to test the fourth field with" >&2
    exit 1
fi
package=$ORVELLE_ROOT/dist/OrvelleEx-$version-x64.msi
portable=$ORVELLE_ROOT/dist/OrvelleEx-$version-x64-portable.zip
for needed in "$package" "$portable" "$E2E_BUILD_DIR/tests/e2e/e2e_ui.exe" "$E2E_LAYOUT_TOOL"; do
    if [ ! -f "$needed" ]; then
        echo "msi-test: $needed is missing; build with: cmake --build --preset windows &&" \
            "cmake --build --preset linux --target e2e_layout && bash scripts/package.sh" >&2
        exit 1
    fi
done

finish() {
    if [ -n "${E2E_PREFIX:-}" ] && [ -d "$E2E_PREFIX" ]; then
        WINEPREFIX=$E2E_PREFIX wineserver -k 2>/dev/null || true
    fi
    orvelle_display_stop
}
trap finish EXIT

rm -rf build/e2e/msi-package
orvelle_display_start
e2e_begin msi-package
started=$SECONDS
# Only the installed copy can start.
rm -rf "$E2E_APP_DIR"
E2E_APP_DIR="$E2E_PREFIX/drive_c/Program Files/OrvelleEx"
E2E_EXE='C:\Program Files\OrvelleEx\OrvelleEx.exe'

# The same build at revision 0 (to Windows Installer the same version), and an
# older build.
earlier=$major.$minor.$build.0
older=0.0.1.0
for v in "$earlier" "$older"; do
    bash scripts/package.sh --version "$v" --out "$E2E_OUT/packages" >/dev/null
done

# run_msiexec TAG ARGS...: runs msiexec silently; prints its exit code.
run_msiexec() {
    local tag=$1
    shift
    e2e_ui run "C:\\e2e\\msiexec-$tag.txt" 'C:\windows\system32\msiexec.exe' "$@" /qn \
        /l*v "$(e2e_winpath "$E2E_OUT/msiexec-$tag.log")" | sed -n 's/^exit_code=//p'
}

# reg_products KEY NAME_VALUE VALUE...: for each key under KEY whose value
# NAME_VALUE is OrvelleEx, its VALUEs joined by "|", one line each.
reg_products() {
    local key=$1 name_value=$2
    shift 2
    wine reg query "$key" /s 2>>"$E2E_OUT/wine.log" | tr -d '\r' |
        awk -v want="$name_value" -v fields="$*" '
            function flush(  line, i) {
                if (values[want] == "OrvelleEx") {
                    line = values[names[1]]
                    for (i = 2; i <= count; i++) line = line "|" values[names[i]]
                    print line
                }
                split("", values)
            }
            BEGIN { count = split(fields, names, " ") }
            /^HKEY_/ { flush(); next }
            match($0, /^    [^ ]+    REG_[A-Z_]+    /) {
                split($0, parts, "    ")
                values[parts[2]] = substr($0, RLENGTH + 1)
            }
            END { flush() }'
}

uninstall_entries() {
    reg_products 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' DisplayName \
        DisplayVersion Publisher
}

installer_products() {
    reg_products 'HKLM\Software\Classes\Installer\Products' ProductName ProductIcon
}

# Windows puts a per-machine shortcut in the all-users Start menu; Wine in the user's.
shortcuts() {
    find "$E2E_PREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu" \
        "$E2E_PREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/"Start Menu" \
        -iname 'OrvelleEx.lnk' 2>/dev/null || true
}

# Everything on drive C: but the test's own folder.
drive_c() {
    (cd "$E2E_PREFIX/drive_c" && find . -path ./e2e -prune -o -print | LC_ALL=C sort)
}

expect_code() {
    [ "$2" = "$3" ] || e2e_fail "$1: msiexec exited with ${2:-nothing}, expected $3 (msiexec-*.log)"
}

# One Add/Remove Programs entry, this version's, and Program Files\OrvelleEx as
# the portable zip has it, but its README.txt (differences in TAG-diff.txt).
expect_installed() {
    local tag=$1 when=$2 entries
    entries=$(uninstall_entries)
    [ "$entries" = "$version|$publisher" ] ||
        e2e_fail "$when the uninstall entries are \"$entries\", expected one: $version|$publisher"
    diff -r "$shipped" "$E2E_APP_DIR" >"$E2E_OUT/$tag-diff.txt" ||
        e2e_fail "$when Program Files\\OrvelleEx differs from the portable zip ($tag-diff.txt)"
}

/usr/bin/python3 -m zipfile -e "$portable" "$E2E_OUT/portable"
shipped=$E2E_OUT/portable/OrvelleEx-$version-x64
rm "$shipped/README.txt"

# verify_signed FILE: FILE carries a signature that verifies against the test signer.
verify_signed() {
    [ -z "${ORVELLE_TEST_SIGNER:-}" ] && return
    osslsigncode verify -CAfile "$ORVELLE_TEST_SIGNER" -in "$1" >"$E2E_OUT/verify.log" 2>&1 ||
        e2e_fail "$1 does not verify against $ORVELLE_TEST_SIGNER (verify.log)"
}
verify_signed "$package"

drive_c >"$E2E_OUT/drive-c-before.txt"

code=$(run_msiexec install /i "$(e2e_winpath "$package")" 'INSTALLDIR=C:\Users\Public\OrvelleEx')
expect_code "installing $version" "$code" 0
expect_installed installed "after the install"
[ ! -e "$E2E_PREFIX/drive_c/users/Public/OrvelleEx" ] ||
    e2e_fail "INSTALLDIR on the command line moved the install to C:\Users\Public\OrvelleEx"
verify_signed "$E2E_APP_DIR/OrvelleEx.exe"
icon=$(installer_products)
[ -n "$icon" ] && [ "$(wc -l <<<"$icon")" = 1 ] || e2e_fail "product icons registered: ${icon:-none}"
cmp -s "$(winepath -u "$icon" 2>/dev/null || true)" app/resources/OrvelleEx.ico ||
    e2e_fail "the product icon $icon is not the program's"
links=$(shortcuts)
[ -n "$links" ] && [ "$(wc -l <<<"$links")" = 1 ] || e2e_fail "Start-menu shortcuts: ${links:-none}"
strings "$links" | grep -Fx "$E2E_EXE" >/dev/null || e2e_fail "the shortcut does not start $E2E_EXE"

e2e_start_and_wait_list
E2E_VIEW=result
E2E_ROWS=1
e2e_expect_text hotfixFirstTitle "$(e2e_string IDS_HOTFIX_INSTALLED_TOTAL_COUNT 1)"
e2e_expect_text hotfixNameText@0 "$E2E_WINE_HOTFIX"
e2e_check_texts list 15
e2e_click closeButton
code=$(e2e_wait_exit 1 30)
[ "$code" = 0 ] || e2e_fail "the installed program exited with $code"

code=$(run_msiexec uninstall /x "$(e2e_winpath "$package")")
expect_code "removing $version" "$code" 0
[ -z "$(uninstall_entries)" ] || e2e_fail "uninstall entries left: $(uninstall_entries)"
[ -z "$(installer_products)" ] || e2e_fail "products left: $(installer_products)"
[ -z "$(shortcuts)" ] || e2e_fail "shortcuts left: $(shortcuts)"
wine reg query 'HKLM\Software\Orvelle\OrvelleEx' >/dev/null 2>&1 &&
    e2e_fail "the key HKLM\\Software\\Orvelle\\OrvelleEx is left"
# Windows Installer keeps its own folder (empty again); the program's logs stay.
drive_c | grep -v -e '^\./windows/Installer$' -e '^\./ProgramData/Orvelle' >"$E2E_OUT/drive-c-after.txt" || true
diff "$E2E_OUT/drive-c-before.txt" "$E2E_OUT/drive-c-after.txt" >"$E2E_OUT/drive-c-diff.txt" ||
    e2e_fail "drive C: differs after removal (drive-c-diff.txt): $(head -n 5 "$E2E_OUT/drive-c-diff.txt")"
e2e_log_has 'get install list ret:0' || e2e_fail "the program's log did not stay"

code=$(run_msiexec earlier /i "$(e2e_winpath "$E2E_OUT/packages/OrvelleEx-$earlier-x64.msi")")
expect_code "installing $earlier" "$code" 0
code=$(run_msiexec upgrade /i "$(e2e_winpath "$package")")
expect_code "installing $version over $earlier" "$code" 0
expect_installed upgraded "after the upgrade"
code=$(run_msiexec older /i "$(e2e_winpath "$E2E_OUT/packages/OrvelleEx-$older-x64.msi")")
expect_code "installing $older over $version" "$code" 1603
[ "$(uninstall_entries)" = "$version|$publisher" ] ||
    e2e_fail "the refused downgrade changed the entries: $(uninstall_entries)"
code=$(run_msiexec earlier-again /i "$(e2e_winpath "$E2E_OUT/packages/OrvelleEx-$earlier-x64.msi")")
expect_code "installing $earlier over $version" "$code" 1603
expect_installed after-earlier "after the refused $earlier"

e2e_end
rm -rf "$E2E_PREFIX"
echo "msi-test: passed in $((SECONDS - started))s (install, start, removal; upgrade from $earlier; $older and $earlier refused)"
