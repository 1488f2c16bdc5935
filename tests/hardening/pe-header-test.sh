#!/usr/bin/env bash
# The elevated executable is hardened: its PE header asks for ASLR with a
# high-entropy 64-bit address space and for DEP, it is Terminal-Server-aware (so a
# Remote Desktop Session Host maps no per-user Windows folder under it), it keeps the relocations ASLR
# needs, and it imports statically only KnownDLLs, which Windows always takes
# from System32. Any other DLL (VERSION.dll, MSIMG32.dll, OLEACC.dll, DismApi.dll) is
# delay-loaded, so it is looked up only after wWinMain has restricted the search
# to System32.
#
#   bash tests/hardening/pe-header-test.sh [path/to/OrvelleEx.exe]
set -euo pipefail
cd "$(dirname "$0")/../.."
exe=${1:-dist/windows/OrvelleEx.exe}
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
[ -f "$exe" ] || { echo "pe-header-test: $exe is missing; build the windows preset first" >&2; exit 1; }

failures=0
fail() { echo "pe-header-test: FAIL: $*" >&2; failures=$((failures + 1)); }

headers=$("$objdump" -p "$exe")
sections=$("$objdump" -h "$exe")

# DllCharacteristics: 0x20 HIGH_ENTROPY_VA, 0x40 DYNAMIC_BASE, 0x100 NX_COMPAT,
# 0x8000 TERMINAL_SERVER_AWARE.
value=$(awk '/^DllCharacteristics/ {print $2; exit}' <<<"$headers")
[ -n "$value" ] || fail "no DllCharacteristics in the header"
flags=$((16#${value:-0}))
for bit in 0x20:HIGH_ENTROPY_VA 0x40:DYNAMIC_BASE 0x100:NX_COMPAT 0x8000:TERMINAL_SERVER_AWARE; do
    if (( (flags & ${bit%%:*}) == 0 )); then fail "DllCharacteristics 0x$value lacks ${bit#*:}"; fi
done
grep -q 'relocations stripped' <<<"$headers" && fail "relocations are stripped, so ASLR cannot move the image"
grep -qE '^ +[0-9]+ \.reloc +[0-9a-f]+' <<<"$sections" || fail "no .reloc section"

# Static imports: KnownDLLs only (lower-case names, as registered under
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs).
known=" advapi32.dll combase.dll comdlg32.dll gdi32.dll gdiplus.dll imagehlp.dll imm32.dll kernel32.dll"
known+=" msctf.dll msvcrt.dll normaliz.dll nsi.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll"
known+=" setupapi.dll shcore.dll shell32.dll shlwapi.dll user32.dll wldap32.dll ws2_32.dll "
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no import table"
for dll in $imports; do
    [[ "$known" == *" $dll "* ]] || fail "$dll is imported statically but is not a KnownDLL"
done
for dll in VERSION.dll MSIMG32.dll OLEACC.dll DismApi.dll; do
    grep -qaF "$dll" "$exe" || fail "$dll is not delay-loaded (its name is not in the image)"
done

if [ "$failures" -ne 0 ]; then
    echo "pe-header-test: $failures check(s) failed for $exe" >&2
    exit 1
fi
echo "pe-header-test: $exe: DllCharacteristics 0x$value (HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVER_AWARE)," \
    "relocations kept, static imports: $(echo $imports)"
