# Sourced by the Wine scripts: a booted Wine prefix template, fresh prefixes
# copied from it per job, and a virtual display when there is none.
#
#   orvelle_wine_template            boots build/wine/template once (locked, reused),
#                                    with the fonts of orvelle_wine_fonts
#   orvelle_wine_prefix DIR          fresh prefix at DIR, copied from the template
#   orvelle_display_start            starts Xvfb when DISPLAY is unset (sets DISPLAY)
#   orvelle_display_stop             ends that Xvfb (after the prefixes' wineserver -w)
#   orvelle_wine_finish PREFIX [S]   waits up to S seconds for PREFIX's processes, then kills them
#
# Wine keeps only the low byte of a Windows exit code in the shell's $?, so the
# callers read exit codes from the programs' own output (see tests/e2e/).
# x86_64 only: the prefix is 64-bit and nothing 32-bit is installed.

ORVELLE_ROOT=${ORVELLE_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
ORVELLE_WINE_DIR=${ORVELLE_WINE_DIR:-$ORVELLE_ROOT/build/wine}
ORVELLE_WINE_TEMPLATE=$ORVELLE_WINE_DIR/template
# Bump when the template's settings change, so old templates are rebuilt.
ORVELLE_WINE_TEMPLATE_STAMP="orvelle-template-4"

export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install dialogs: the program needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

orvelle_wine_template() {
    mkdir -p "$ORVELLE_WINE_DIR"
    (
        flock 9
        local stamp=$ORVELLE_WINE_TEMPLATE/.orvelle-stamp
        if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$ORVELLE_WINE_TEMPLATE_STAMP" ]; then
            exit 0
        fi
        echo "wine: booting the prefix template (once)" >&2
        rm -rf "$ORVELLE_WINE_TEMPLATE"
        WINEPREFIX=$ORVELLE_WINE_TEMPLATE wineboot -i >"$ORVELLE_WINE_DIR/template-boot.log" 2>&1
        # Unmanaged windows: they appear and close at once, with no window manager in between.
        WINEPREFIX=$ORVELLE_WINE_TEMPLATE wine reg add 'HKCU\Software\Wine\X11 Driver' \
            /v Managed /t REG_SZ /d N /f >>"$ORVELLE_WINE_DIR/template-boot.log" 2>&1
        # A wusa.exe put into system32 by a test runs instead of Wine's built-in one.
        WINEPREFIX=$ORVELLE_WINE_TEMPLATE wine reg add 'HKCU\Software\Wine\DllOverrides' \
            /v wusa.exe /t REG_SZ /d native /f >>"$ORVELLE_WINE_DIR/template-boot.log" 2>&1
        orvelle_wine_fonts "$ORVELLE_WINE_TEMPLATE" >>"$ORVELLE_WINE_DIR/template-boot.log" 2>&1
        WINEPREFIX=$ORVELLE_WINE_TEMPLATE wineserver -w
        echo "$ORVELLE_WINE_TEMPLATE_STAMP" >"$stamp"
    ) 9>"$ORVELLE_WINE_DIR/template.lock"
}

# The fonts a prefix draws with, chosen rather than left to chance. The program
# asks for the system message font, which Wine names "MS Shell Dlg": in Western
# and Cyrillic locales that is Tahoma (Wine's own, from fonts-wine, which Wine
# does not find unless it is in the prefix), and Chinese, Japanese and Korean
# text in it falls back through Tahoma's font link, as on Windows, to a CJK face
# (fonts-wqy-microhei, which Wine finds through fontconfig). In a CJK locale Wine
# maps "MS Shell Dlg" to that locale's Windows face (SimSun, PMingLiU, MS UI
# Gothic, Gulim), which the prefix replaces: Japanese by a Japanese face (IPA P
# Gothic from fonts-ipafont-gothic, proportional as MS UI Gothic and Yu Gothic UI
# are), so kanji and kana take Japanese shapes, linked in turn to the Chinese
# face for what it lacks; the others by the Chinese face.
ORVELLE_WINE_CJK_FACE="WenQuanYi Micro Hei"
ORVELLE_WINE_JA_FACE="IPAPGothic"
orvelle_wine_fonts() {
    local prefix=$1 face
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
        "$prefix/drive_c/windows/Fonts/"
    WINEPREFIX=$prefix wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d "wqy-microhei.ttc,$ORVELLE_WINE_CJK_FACE" /f
    WINEPREFIX=$prefix wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v "$ORVELLE_WINE_JA_FACE" /t REG_MULTI_SZ /d "wqy-microhei.ttc,$ORVELLE_WINE_CJK_FACE" /f
    for face in SimSun PMingLiU Gulim 'Microsoft YaHei UI' 'Microsoft JhengHei UI' 'Malgun Gothic'; do
        WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
            /v "$face" /t REG_SZ /d "$ORVELLE_WINE_CJK_FACE" /f
    done
    for face in 'MS UI Gothic' 'Yu Gothic UI' 'Meiryo UI'; do
        WINEPREFIX=$prefix wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
            /v "$face" /t REG_SZ /d "$ORVELLE_WINE_JA_FACE" /f
    done
}

orvelle_wine_prefix() {
    local dir=$1
    orvelle_wine_template
    if [ -d "$dir" ]; then
        WINEPREFIX=$dir wineserver -k 2>/dev/null || true
        rm -rf "$dir"
    fi
    mkdir -p "$(dirname "$dir")"
    cp -a "$ORVELLE_WINE_TEMPLATE" "$dir"
}

# The per-user local application data folder of a prefix (%LOCALAPPDATA%).
orvelle_wine_localappdata() {
    local prefix=$1 user
    for user in "$prefix"/drive_c/users/*; do
        case $(basename "$user") in Public) continue ;; esac
        echo "$user/AppData/Local"
        return 0
    done
    return 1
}

orvelle_wine_finish() {
    local prefix=$1 seconds=${2:-20}
    if ! WINEPREFIX=$prefix timeout "$seconds" wineserver -w; then
        echo "wine: processes in $prefix still running after ${seconds}s; killing them" >&2
        WINEPREFIX=$prefix wineserver -k || true
        return 1
    fi
}

ORVELLE_XVFB_PID=
orvelle_display_start() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local fdfile
    fdfile=$(mktemp)
    # -displayfd lets Xvfb pick a free display number and tell us which.
    # Room for the main window at 150 % (1200 x 840).
    Xvfb -displayfd 3 -screen 0 "${ORVELLE_XVFB_SCREEN:-1600x1000x24}" -nolisten tcp \
        3>"$fdfile" >/dev/null 2>&1 &
    ORVELLE_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        if [ -s "$fdfile" ]; then
            break
        fi
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        echo "wine: Xvfb did not start" >&2
        rm -f "$fdfile"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}

orvelle_display_stop() {
    if [ -n "$ORVELLE_XVFB_PID" ]; then
        kill "$ORVELLE_XVFB_PID" 2>/dev/null || true
        wait "$ORVELLE_XVFB_PID" 2>/dev/null || true
        ORVELLE_XVFB_PID=
        unset DISPLAY
    fi
}
