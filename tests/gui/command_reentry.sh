#!/usr/bin/env bash
# While a command's ownerless message box is shown, no other command can start and the program
# does not end under it: Admin > Verify on a fresh start fails its send (nothing is configured,
# and the address 0.0.0.0 is refused before anything is sent) and says so in two boxes without an
# owner, titled with the program's name. While the first is up, a click on the main window's menu
# opens nothing, Configure does not start, and the close box does not end the program. Once the
# boxes are dismissed, the main window takes commands again.
# wrenset runs in a network namespace of its own, which has no interface up.
# Usage: command_reentry.sh WRENSET
set -euo pipefail
. "$(dirname "$0")/gui_lib.sh"
gui_require "$1"
gui_setup
app_name=$(basename "$1")

gui_start_wrenset
gui_screenshot "$GUI_MAIN" "$GUI_TMP/main.png"
read -r left top right bottom count < <(gui_pixels "$GUI_TMP/main.png" white)
gui_client "$GUI_MAIN"
main_x=$GUI_X main_y=$GUI_Y
menu_area() { gui_screen_crop $((main_x + left + 2)) $((main_y + top + 2)) 40 60 "$1"; }

gui_focus "$GUI_MAIN"
gui_key alt+a v
box=$(gui_wait_window "^$app_name\$") || gui_fail "Verify showed no message"
[ -z "$(gui_transient_for "$box")" ] || gui_fail "the exchange's message box has an owner"
text=$(gui_message_text "$box")
[ "$text" = "sendto failure" ] || gui_fail "first message '$text'"

menu_area "$GUI_TMP/before.png"
gui_click $((main_x + 20)) $((main_y + 12))
gui_key c
menu_area "$GUI_TMP/after.png"
gui_same_pixels "$GUI_TMP/before.png" "$GUI_TMP/after.png" ||
    gui_fail "the main window's menu opened while a command's message box was shown"
gui_no_window '^BootP Parameters$' || gui_fail "Configure started while Verify's message box was shown"

gui_outer "$GUI_MAIN"
gui_click $((GUI_X + GUI_W - 10)) $((GUI_Y + 10))
gui_running "$GUI_PID" || gui_fail "the close box ended the program under a running command"
gui_no_window '^Tanager$' && gui_fail "the close box removed the main window under a running command"
[ "$(gui_x xdotool search --all --onlyvisible --pid "$GUI_PID" --name "^$app_name\$")" = "$box" ] ||
    gui_fail "the message box went away"

gui_focus "$box"
gui_key Return
gui_wait_closed "$box" "the first message box did not close"
box=$(gui_wait_window "^$app_name\$") || gui_fail "no second message"
text=$(gui_message_text "$box")
[ "$text" = "WSAEADDRNOTAVAIL:" ] || gui_fail "second message '$text'"
gui_key Return
gui_wait_closed "$box" "the second message box did not close"

# The command has ended: the main window takes commands again.
gui_focus "$GUI_MAIN"
gui_key alt+a c
gui_wait_window '^BootP Parameters$' >/dev/null || gui_fail "Configure did not start after the command ended"
gui_key Escape
gui_wait_gone '^BootP Parameters$' "Escape did not close the dialog"
gui_focus "$GUI_MAIN"
gui_key alt+a x
status=0
gui_wait_exit 20 || status=$?
[ "$status" -eq 0 ] || gui_fail "Admin > Exit ended with status $status"
echo "PASS: command re-entry"
