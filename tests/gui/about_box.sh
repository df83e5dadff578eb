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

open_about() {
    gui_focus "$GUI_MAIN"
    gui_key alt+h a
    ABOUT=$(gui_wait_window '^About Wrenset$') || gui_fail "$1: Help > About opened no box"
    gui_expect_owned "$ABOUT" "About Wrenset" "$GUI_MAIN" "the main window" "$1: box"

    gui_main_area
    gui_client "$ABOUT"
    local dx=$((34 * GUI_W / template_width)) dy=$((22 * GUI_H / template_height))
    gui_outer "$ABOUT"
    gui_near "$GUI_X" $((GUI_AREA_X + dx)) 3 && gui_near "$GUI_Y" $((GUI_AREA_Y + dy)) 3 ||
        gui_fail "$1: box at $GUI_X,$GUI_Y; expected $((GUI_AREA_X + dx)),$((GUI_AREA_Y + dy)) (client area at $GUI_AREA_X,$GUI_AREA_Y)"
    echo "$1: box at $GUI_X,$GUI_Y, client area at $GUI_AREA_X,$GUI_AREA_Y" >&2
}

gui_start_wrenset

# The menu area lies left of where the box stands.
open_about "first showing"
gui_expect_menu_blocked "while the About box was open"
gui_focus "$ABOUT"
gui_key Return
gui_wait_gone '^About Wrenset$' "OK did not close the box"

# The main window takes input again: the same click now drops the menu down.
gui_click_admin
left=100
while gui_menu_area "$GUI_TMP/after.png" && gui_same_pixels "$GUI_TMP/menu-closed.png" "$GUI_TMP/after.png"; do
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
gui_click_close_box "$ABOUT"
gui_wait_gone '^About Wrenset$' "the close box did not close the box"

gui_exit_from_menu
echo "PASS: About box"
