# The scenario's Wine prefix: a fresh copy of the booted template with
# dist/windows/ staged as C:\OrvelleEx\ and the helper e2e_ui.exe as
# C:\e2e\e2e_ui.exe. Its display is started by run.sh (scripts/wine-env.sh).
#   e2e_fail MESSAGE           ends the scenario as failed
#   e2e_begin NAME             fresh prefix and staged program for scenario NAME
#   e2e_registry <<'REG'       imports registry lines (regedit syntax) into the prefix
#   e2e_end                    waits for the prefix's processes (kills stragglers)

E2E_BUILD_DIR=${E2E_BUILD_DIR:-${ORVELLE_WINDOWS_BUILD_DIR:-build/windows}}

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_begin() {
    E2E_NAME=$1
    E2E_OUT=$ORVELLE_ROOT/build/e2e/$E2E_NAME
    E2E_PREFIX=$E2E_OUT/prefix
    E2E_LAUNCH=0
    E2E_SCALE=100
    E2E_VIEW=loading
    E2E_ROWS=0
    E2E_LANG=en-US
    E2E_MAIN_OPTIONS=()
    E2E_ABOUT_OPTIONS=()
    E2E_TEXTS=()
    E2E_WMI_REGISTERED=0
    E2E_WUA_REGISTERED=0
    mkdir -p "$E2E_OUT"
    orvelle_wine_prefix "$E2E_PREFIX"
    export WINEPREFIX=$E2E_PREFIX
    E2E_APP_DIR=$E2E_PREFIX/drive_c/OrvelleEx
    E2E_EXE='C:\OrvelleEx\OrvelleEx.exe'
    mkdir -p "$E2E_APP_DIR" "$E2E_PREFIX/drive_c/e2e"
    cp -r "$ORVELLE_ROOT/dist/windows/." "$E2E_APP_DIR/"
    cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_ui.exe" \
        "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_wmi.dll" \
        "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_wua.dll" "$E2E_PREFIX/drive_c/e2e/"
    # %ProgramData%\Orvelle\Logs
    E2E_LOG_DIR=$E2E_PREFIX/drive_c/ProgramData/Orvelle/Logs
}

# A Unix path as Wine's drive Z: sees it.
e2e_winpath() {
    local path=$1
    echo "Z:${path//\//\\}"
}

e2e_ui() {
    wine 'C:\e2e\e2e_ui.exe' "$@" 2>>"$E2E_OUT/wine.log" | tr -d '\r'
}

# Imports registry lines (regedit syntax, without the header) into the prefix.
e2e_registry() {
    local file=$E2E_OUT/registry-$RANDOM.reg
    { echo 'Windows Registry Editor Version 5.00'; echo; cat; } >"$file"
    # A busy machine can fail one regedit start (the import is idempotent):
    # try once more before failing, and say what Wine printed.
    local attempt errors=$E2E_OUT/regedit-errors.log
    for attempt in 1 2; do
        if wine regedit /S "$(e2e_winpath "$file")" 2>"$errors"; then
            cat "$errors" >>"$E2E_OUT/wine.log"
            return 0
        fi
        cat "$errors" >>"$E2E_OUT/wine.log"
        sleep 2
    done
    e2e_fail "regedit could not import $file: $(tail -n 3 "$errors" | tr '\n' ' ')"
}

e2e_end() {
    orvelle_wine_finish "$E2E_PREFIX" 20 || e2e_fail "processes were still running at the end"
}
