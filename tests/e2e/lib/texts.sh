# Texts on the screen: each expected text is drawn by the toolkit's own painter
# (e2e_ui.exe text) over the screenshot's background and looked for pixel by pixel.
#   e2e_expect_text CONTROL TEXT [COLOUR]   the control shows TEXT (in COLOUR, AARRGGBB)
#   e2e_expect_no_text CONTROL TEXT [COLOUR]  the control does not show TEXT
#   e2e_expect_layout_texts [KIND]  every text the window's layout shows, in the layout's colours
#   e2e_check_texts NAME [S]   waits until the screen shows every expected text where
#                              expected (drawn by the toolkit's own painter, compared
#                              pixel by pixel); keeps the last screenshot as NAME.png

# Expected texts: "<l> <t> <r> <b> <size> <style> <colour>", a tab, the text, a tab, a label.
e2e_expect_text() {
    local rect left top right bottom size bold colour
    rect=$(e2e_rect "$1")
    read -r left top right bottom size bold colour <<<"$rect"
    E2E_TEXTS+=("$left $top $right $bottom $size $bold ${3:-$colour}"$'\t'"$2"$'\t'"$1")
}

e2e_expect_no_text() {
    local rect left top right bottom size bold colour
    rect=$(e2e_rect "$1")
    read -r left top right bottom size bold colour <<<"$rect"
    E2E_TEXTS+=("$left $top $right $bottom $size $bold ${3:-$colour}"$'\t'"$2"$'\t'"!$1")
}

e2e_expect_layout_texts() {
    local kind=${1:-main} geometry lines x y w h fields text l t r b style
    geometry=$(e2e_window_geometry "$kind")
    read -r x y w h <<<"$geometry"
    lines=$(e2e_layout texts "$kind" "${w}x${h}") || e2e_fail "the layout tool failed on the $kind window"
    while IFS=$'\t' read -r fields text; do
        [ -n "$fields" ] || continue
        read -r l t r b style <<<"$fields"
        E2E_TEXTS+=("$((x + l)) $((y + t)) $((x + r)) $((y + b)) $style"$'\t'"$text"$'\t'"$kind layout")
    done <<<"$lines"
}

# The most common colour of an image (a label's background), as FFRRGGBB.
e2e_background() {
    # sed reads to the end, so no writer in the pipe dies of SIGPIPE.
    convert "$1" -format %c histogram:info:- | sort -rn |
        sed -n '1s/.*#\([0-9A-Fa-f]\{6\}\).*/FF\1/p'
}

# Renders the expected texts over the backgrounds of the screenshot $1 (one
# Wine call) into $E2E_OUT/texts/<i>.png; prints how many it rendered.
e2e_render_texts() {
    local shot=$1 dir=$E2E_OUT/texts i=0 entry fields text l t r b size bold colour bg
    local specs=$dir/specs.txt
    mkdir -p "$dir"
    : >"$specs"
    for entry in "${E2E_TEXTS[@]}"; do
        i=$((i + 1))
        IFS=$'\t' read -r fields text _ <<<"$entry"
        read -r l t r b size bold colour <<<"$fields"
        convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$dir/$i-screen.png"
        bg=$(e2e_background "$dir/$i-screen.png")
        printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$(e2e_winpath "$dir/$i.bmp")" "$size" "$bold" "$colour" \
            "$bg" "$text" >>"$specs"
    done
    e2e_ui text "$(e2e_winpath "$specs")" >/dev/null || e2e_fail "e2e_ui could not draw the texts"
    for i in $(seq 1 "$i"); do
        # Only the glyphs: the cell's empty margin may reach past a clipped control.
        convert "$dir/$i.bmp" -trim +repage "$dir/$i.png"
    done
}

# True when the text image $2 appears somewhere in the screen crop $1.
e2e_image_contains() {
    local result differing
    result=$(compare -metric AE -fuzz 4% -subimage-search "$1" "$2" null: 2>&1 || true)
    differing=${result%% *}
    [[ $differing =~ ^[0-9.e+]+$ ]] || return 1
    # A handful of edge pixels may differ where a neighbour's drawing touches the text.
    awk -v d="$differing" 'BEGIN { exit !(d <= 3) }'
}

e2e_check_texts() {
    local name=$1 dir=$E2E_OUT/texts shot missing entry text label i
    local deadline=$((SECONDS + ${2:-10}))
    [ "${#E2E_TEXTS[@]}" -gt 0 ] || e2e_fail "e2e_check_texts: no text expected"
    while :; do
        shot=$(e2e_screenshot "$name")
        # The backgrounds come from this screenshot, so each try renders again.
        e2e_render_texts "$shot"
        missing=
        i=0
        for entry in "${E2E_TEXTS[@]}"; do
            i=$((i + 1))
            IFS=$'\t' read -r _ text label <<<"$entry"
            if [[ $label == '!'* ]]; then
                if e2e_image_contains "$dir/$i-screen.png" "$dir/$i.png"; then
                    missing+="${missing:+, }not \"$text\" (${label#!}, texts/$i.png)"
                fi
            elif ! e2e_image_contains "$dir/$i-screen.png" "$dir/$i.png"; then
                missing+="${missing:+, }\"$text\" ($label, texts/$i.png)"
            fi
        done
        if [ -z "$missing" ]; then
            E2E_TEXTS=()
            return 0
        fi
        [ "$SECONDS" -lt "$deadline" ] || break
        sleep 0.5
    done
    e2e_fail "not shown as expected in $name.png: $missing"
}
