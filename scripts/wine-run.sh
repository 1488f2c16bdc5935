#!/usr/bin/env bash
# Runs dist/windows/OrvelleEx.exe under Wine (build it first: scripts/run.sh does).
# With a display it just runs the program, in the prefix build/wine/run (kept).
# Without one it starts Xvfb and a fresh prefix (build/wine/run-headless), waits
# for the window "OrvelleEx" and until the list is shown, saves a screenshot of
# the window under build/screenshots/, prints its path and closes the program.
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
log_dir=$prefix/drive_c/ProgramData/Orvelle/Logs
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

# The load ends with the main window's "get install list ret:<code>" record; on
# code 0 the rows are built next, so wait until the window's picture stops
# changing (the loading animation has stopped and the list is painted).
result=
for _ in $(seq 1 150); do
    result=$(grep -rahs -o 'get install list ret:[0-9-]*' "$log_dir" 2>/dev/null | tail -n1 || true)
    [ -n "$result" ] && break
    sleep 0.2
done
if [ -z "$result" ]; then
    echo "wine-run: the hotfix list did not load within 30s; taking the screenshot anyway" >&2
elif [ "${result##*:}" != 0 ]; then
    echo "wine-run: the load ended with code ${result##*:} (no list); taking the screenshot anyway" >&2
fi
eval "$(xdotool getwindowgeometry --shell "$window")"
frame_dir=$(mktemp -d)
previous=
for i in $(seq 1 50); do
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$frame_dir/$i.png"
    if [ -n "$previous" ] && cmp -s <(convert "$previous" rgb:-) <(convert "$frame_dir/$i.png" rgb:-); then
        break
    fi
    previous=$frame_dir/$i.png
    sleep 0.3
done

mkdir -p build/screenshots
shot=build/screenshots/orvelle-$(date +%Y%m%d-%H%M%S).png
# The window's part of the screen, once it was the same twice in a row.
cp "$frame_dir/$i.png" "$shot"
rm -rf "$frame_dir"
echo "$(pwd)/$shot"

# A close request (WM_CLOSE) to the program's windows, as the close button does.
wine taskkill /im OrvelleEx.exe >/dev/null 2>&1 || true
orvelle_wine_finish "$prefix" 15 || true
