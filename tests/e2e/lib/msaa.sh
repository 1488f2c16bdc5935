# The window as a screen reader reads it, from another process (tools/e2e_msaa.cpp).
#   e2e_msaa COMMAND [KIND] [NAME]  the window as a screen reader reads it, from another
#                              process (tools/e2e_msaa.cpp): tree (one element a line:
#                              role "name" [states] @l,t,r,b), check, press NAME, hold

e2e_msaa() {
    local command=$1 class title
    class=$(e2e_window_class "${2:-main}")
    title=$(e2e_window_title "${2:-main}")
    shift $(($# < 2 ? $# : 2))
    [ -f "$E2E_PREFIX/drive_c/e2e/e2e_msaa.exe" ] ||
        cp "$ORVELLE_ROOT/$E2E_BUILD_DIR/tests/e2e/e2e_msaa.exe" "$E2E_PREFIX/drive_c/e2e/"
    # Line by line, so a caller may read "held" while the tool goes on.
    wine 'C:\e2e\e2e_msaa.exe' "$command" "$class" "$title" "$@" 2>>"$E2E_OUT/wine.log" |
        sed -u 's/\r$//'
}
