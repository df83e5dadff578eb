#!/usr/bin/env bash
# Help > About: "About Wrenset", owned by the main window, opens with its top-left corner 34, 22
# dialog units (of its own font) from the top-left corner of the main window's client area, not
# centred, wherever the main window stands. While it is open the main window takes no input (a
# click on its menu opens nothing); OK (Enter), Escape and the close box each close it, and then
# the main window takes input again.
# Usage: about_box.sh WRENSET
set -euo pipefail
. "$(dirname "$0")/gui_lib.sh"
gui_require "$1"
gui_setup

template_width=168
template_height=74

# Sets CLIENT_X CLIENT_Y: the main window's client area (the white below the menu) on the screen.
main_client_origin() {
    gui_screenshot "$GUI_MAIN" "$GUI_TMP/main.png"
    local left top right bottom count
    read -r left top right bottom count < <(gui_pixels "$GUI_TMP/main.png" white)
    [ "$count" -gt 0 ] || gui_fail "no client area in the main window"
    gui_client "$GUI_MAIN"
    CLIENT_X=$((GUI_X + left)) CLIENT_Y=$((GUI_Y + top))
}

# Where a menu dropped from Admin would show, left of where the box stands.
menu_area() {
    gui_screen_crop $((CLIENT_X + 2)) $((CLIENT_Y + 2)) 40 60 "$1"
}

click_admin() {
    gui_client "$GUI_MAIN"
    gui_click $((GUI_X + 20)) $((GUI_Y + 12))
}

open_about() {
    gui_focus "$GUI_MAIN"
    gui_key alt+h a
    ABOUT=$(gui_wait_window '^About Wrenset$') || gui_fail "$1: Help > About opened no box"
    local title owner
    title=$(gui_title "$ABOUT")
    [ "$title" = "About Wrenset" ] || gui_fail "$1: box titled '$title'"
    owner=$(gui_transient_for "$ABOUT")
    [ "$((owner))" -eq "$GUI_MAIN" ] || gui_fail "$1: box owned by '$owner', not by the main window"

    main_client_origin
    gui_client "$ABOUT"
    local dx=$((34 * GUI_W / template_width)) dy=$((22 * GUI_H / template_height))
    gui_outer "$ABOUT"
    gui_near "$GUI_X" $((CLIENT_X + dx)) 3 && gui_near "$GUI_Y" $((CLIENT_Y + dy)) 3 ||
        gui_fail "$1: box at $GUI_X,$GUI_Y; expected $((CLIENT_X + dx)),$((CLIENT_Y + dy)) (client area at $CLIENT_X,$CLIENT_Y)"
    echo "$1: box at $GUI_X,$GUI_Y, client area at $CLIENT_X,$CLIENT_Y" >&2
}

gui_start_wrenset

open_about "first showing"
menu_area "$GUI_TMP/before.png"
click_admin
gui_key c
menu_area "$GUI_TMP/after.png"
gui_same_pixels "$GUI_TMP/before.png" "$GUI_TMP/after.png" ||
    gui_fail "a click on the main window's menu opened it while the About box was open"
gui_no_window '^BootP Parameters$' || gui_fail "Configure started while the About box was open"
gui_focus "$ABOUT"
gui_key Return
gui_wait_gone '^About Wrenset$' "OK did not close the box"

# The main window takes input again: the same click now drops the menu down.
click_admin
left=100
while menu_area "$GUI_TMP/after.png" && gui_same_pixels "$GUI_TMP/before.png" "$GUI_TMP/after.png"; do
    [ "$left" -gt 0 ] || gui_fail "the main window's menu does not open after the box closed"
    sleep 0.05
    left=$((left - 1))
done
gui_key Escape

# Placed from the client area wherever the main window stands.
gui_x xdotool windowmove "$GUI_MAIN" 500 300
open_about "main window moved"
gui_key Escape
gui_wait_gone '^About Wrenset$' "Escape did not close the box"

open_about "close box"
gui_outer "$ABOUT"
gui_click $((GUI_X + GUI_W - 10)) $((GUI_Y + 10))
gui_wait_gone '^About Wrenset$' "the close box did not close the box"

gui_focus "$GUI_MAIN"
gui_key alt+a x
status=0
gui_wait_exit 20 || status=$?
[ "$status" -eq 0 ] || gui_fail "Admin > Exit ended with status $status"
echo "PASS: About box"
