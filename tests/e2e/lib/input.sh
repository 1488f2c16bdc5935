# Input: clicks, the mouse, keys, the wheel and the scroll thumb, given to the
# program through X. What moves the focus or scrolls is told to the layout tool
# too (E2E_MAIN_OPTIONS / E2E_ABOUT_OPTIONS), so where things are next is
# computed as the program computes it.
#   e2e_click CONTROL          clicks the centre of a control (of a link "NAME#N" where
#                              the screen shows it), then moves the mouse away
#   e2e_hover CONTROL          moves the mouse over the centre of a control
#   e2e_key KEY [KIND]         presses a key (xdotool's name: Tab, shift+Tab, Return,
#                              Escape, Next, Prior, Home, End) in the window of that kind
#                              and tells the layout tool
#   e2e_wheel CONTROL N        N notches of the wheel over CONTROL (main window; down, or
#                              up when N is negative), told to the layout tool too
#   e2e_drag_thumb CONTAINER DY  drags the scroll thumb of CONTAINER DY pixels down, told too

# "<x> <y>" of link N of a text control ("NAME#N") as the screen shows it: the
# layout tool knows the control and the link's colour, but only the real font
# knows where in the control the link is drawn. Its underline joins its words.
e2e_link_centre() {
    local rect l t r b colour mask runs first last rows top bottom
    local index=${1##*#}
    rect=$(e2e_rect "$1")
    read -r l t r b _ _ colour <<<"$rect"
    mask=$E2E_OUT/link-mask.png
    convert "$(e2e_screenshot link)" -crop "$((r - l))x$((b - t))+$l+$t" +repage -fuzz 10% \
        -fill black +opaque "#${colour:2}" -fill white -opaque "#${colour:2}" "$mask"
    runs=$(e2e_white_runs "$mask")
    read -r first last <<<"$(sed -n "$((index + 1))p" <<<"$runs")"
    [ -n "$last" ] || e2e_fail "link $index of ${1%#*} is not on the screen (link.png)"
    convert "$mask" -crop "$((last - first + 1))x$((b - t))+$first+0" +repage "$mask"
    rows=$(e2e_white_runs "$mask" rows)
    top=$(head -n1 <<<"$rows" | cut -d' ' -f1)
    bottom=$(tail -n1 <<<"$rows" | cut -d' ' -f2)
    echo "$((l + (first + last) / 2)) $((t + (top + bottom) / 2))"
}

e2e_click() {
    local rect left top right bottom x y
    if [[ $1 == *'#'* ]]; then
        read -r x y <<<"$(e2e_link_centre "$1")"
    else
        rect=$(e2e_rect "$1")
        read -r left top right bottom _ <<<"$rect"
        x=$(((left + right) / 2)) y=$(((top + bottom) / 2))
    fi
    # No --sync: it waits for a motion that never comes when the pointer is already there.
    xdotool mousemove "$x" "$y" sleep 0.1 click 1 sleep 0.1 mousemove 0 0
}

e2e_hover() {
    local rect left top right bottom
    rect=$(e2e_rect "$1")
    read -r left top right bottom _ <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2))
}

# Input that moves the focus or scrolls: given to the program through X, and to
# the layout tool (E2E_MAIN_OPTIONS / E2E_ABOUT_OPTIONS) so that where things
# are next is computed as the program computes it.
e2e_key() {
    local key=$1 kind=${2:-main}
    xdotool key "$key"
    case $key in
        Return | Escape) ;;  # they act; they move nothing the tool lays out
        *) if [ "$kind" = about ]; then
               E2E_ABOUT_OPTIONS+=(--key "$key")
           else
               E2E_MAIN_OPTIONS+=(--key "$key")
           fi ;;
    esac
}

e2e_wheel() {
    local rect left top right bottom button=5 notches=$2 way=--wheel-down
    if [ "$notches" -lt 0 ]; then
        button=4 notches=$((-notches)) way=--wheel-up
    fi
    rect=$(e2e_rect "$1")
    read -r left top right bottom _ <<<"$rect"
    xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) sleep 0.1 \
        click --repeat "$notches" --delay 50 "$button"
    E2E_MAIN_OPTIONS+=("$way" "$1" "$notches")
}

e2e_drag_thumb() {
    local track_l thumb_t thumb_b x y
    read -r track_l _ track_r _ _ thumb_t _ thumb_b <<<"$(e2e_thumb "$1")"
    x=$(((track_l + track_r) / 2)) y=$(((thumb_t + thumb_b) / 2))
    xdotool mousemove "$x" "$y" sleep 0.1 mousedown 1 sleep 0.1 mousemove "$x" $((y + $2 / 2)) \
        sleep 0.1 mousemove "$x" $((y + $2)) sleep 0.1 mouseup 1 sleep 0.1 mousemove 0 0
    E2E_MAIN_OPTIONS+=(--drag-thumb "$1" "$2")
}
