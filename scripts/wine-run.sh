#!/usr/bin/env bash
# Runs dist/windows/OrvelleEx.exe under Wine (build it first: scripts/run.sh does).
# With a display it just runs the program, in the prefix build/wine/run (kept).
# Without one it starts Xvfb and a fresh prefix (build/wine/run-headless), waits for the window "OrvelleEx" and for the list
# to load, saves a screenshot under build/screenshots/, prints its path and
# closes the program.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

exe=dist/windows/OrvelleEx.exe
if [ ! -f "$exe" ]; then
    echo "wine-run: $exe is missing; build it with: cmake --build --preset windows" >&2
    exit 1
fi
if [ -n "${DISPLAY:-}" ]; then
    prefix=$ORVELLE_WINE_DIR/run
    [ -d "$prefix" ] || orvelle_wine_prefix "$prefix"
    WINEPREFIX=$prefix exec wine "$exe"
fi

prefix=$ORVELLE_WINE_DIR/run-headless
orvelle_wine_prefix "$prefix"
export WINEPREFIX=$prefix

trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; orvelle_display_stop' EXIT
orvelle_display_start
log_dir=$(orvelle_wine_localappdata "$prefix")/Orvelle
wine "$exe" >"$ORVELLE_WINE_DIR/run.log" 2>&1 &

window=
for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --name '^OrvelleEx$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "wine-run: the window \"OrvelleEx\" did not appear within 60s; see $ORVELLE_WINE_DIR/run.log" >&2
    exit 1
fi

# The list is loaded once the main window logs the load's result code; give the
# loading animation up to 30 s, then a moment to paint.
for _ in $(seq 1 150); do
    if grep -raqs 'get install list ret:' "$log_dir" 2>/dev/null; then
        break
    fi
    sleep 0.2
done
sleep 1

mkdir -p build/screenshots
shot=build/screenshots/orvelle-$(date +%Y%m%d-%H%M%S).png
# The whole screen, cut down to the window.
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
echo "$(pwd)/$shot"

# A close request (WM_CLOSE) to the program's windows, as the close button does.
wine taskkill /im OrvelleEx.exe >/dev/null 2>&1 || true
orvelle_wine_finish "$prefix" 15 || true
