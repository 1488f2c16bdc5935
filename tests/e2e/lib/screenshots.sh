# Screenshots and what is read from them (pixels, runs of a colour, the focus
# indicator).
#   e2e_screenshot NAME        saves $E2E_OUT/NAME.png (the whole screen); prints its path
#   e2e_crop_window NAME [KIND]  crops the screenshot NAME.png to the window (NAME-window.png)
#   e2e_pixel SHOT X Y         the colour RRGGBB of a pixel of a screenshot
#   e2e_focus_ring_shows [KIND]  the same, looked at once (succeeds when it shows)
#   e2e_wait_focus_ring [KIND] [S]  waits until the focus indicator shows round the control
#                              the layout tool says has the focus; prints its name

E2E_FOCUS_RING=$(sed -n 's/.*kFocusRing = 0xFF\([0-9A-Fa-f]\{6\}\);.*/\1/p' \
    "$ORVELLE_ROOT/platform/duilib/UIColors.h")

e2e_screenshot() {
    local file=$E2E_OUT/$1.png
    import -window root "$file"
    echo "$file"
}

# The window's part of the screenshot NAME.png, as NAME-window.png (for docs/).
e2e_crop_window() {
    local geometry x y w h
    geometry=$(e2e_window_geometry "${2:-main}")
    read -r x y w h <<<"$geometry"
    convert "$E2E_OUT/$1.png" -crop "${w}x${h}+$x+$y" +repage -strip "$E2E_OUT/$1-window.png"
}

e2e_pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- |
        sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | head -n1
}

# "<first> <last>" of each run of columns (or rows) of a black and white image
# that hold white.
e2e_white_runs() {
    local image=$1 axis=${2:-columns} size
    size=$(identify -format '%wx1!' "$image")
    [ "$axis" = rows ] && size=$(identify -format '1x%h!' "$image")
    convert "$image" -scale "$size" -threshold 0 -depth 8 txt:- |
        awk -F'[,: ]+' -v rows="$([ "$axis" = rows ] && echo 1 || echo 0)" '
            /^#/ { next }
            /#FFFFFF/ {
                i = rows ? $2 : $1
                if (n && i == last + 1) { last = i; next }
                if (n) print first, last
                first = i; last = i; n = 1
            }
            END { if (n) print first, last }'
}

# The indicator's outer ring (its colour is the toolkit's, UIColors::kFocusRing)
# is 2 px wide at 100 % (scaled), 1 to 3 px outside the control; its middle is
# sampled left of the control's centre.
# e2e_focus_ring_shows [KIND] prints the focused control's name and succeeds
# when its ring shows on a fresh screenshot.
e2e_focus_ring_shows() {
    local kind=${1:-main} name l t r b w shot colour
    read -r name l t r b _ <<<"$(e2e_focus "$kind")"
    w=$(((E2E_SCALE + 50) / 100))
    shot=$(e2e_screenshot "focus-$name")
    colour=$(e2e_pixel "$shot" $((l - 2 * w)) $(((t + b) / 2)))
    echo "$name"
    [ "$colour" = "$E2E_FOCUS_RING" ]
}

e2e_wait_focus_ring() {
    local kind=${1:-main} seconds=${2:-10} name i
    for i in $(seq 1 $((seconds * 2))); do
        if name=$(e2e_focus_ring_shows "$kind"); then
            echo "$name"
            return 0
        fi
        sleep 0.5
    done
    e2e_fail "no focus indicator round $name (pixel left of it in focus-$name.png is not the ring's)"
}
