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
gui_main_area

gui_focus "$GUI_MAIN"
gui_key alt+a v
box=$(gui_wait_window "^$app_name\$") || gui_fail "Verify showed no message"
[ -z "$(gui_transient_for "$box")" ] || gui_fail "the exchange's message box has an owner"
text=$(gui_message_text "$box")
[ "$text" = "sendto failure" ] || gui_fail "first message '$text'"

gui_expect_menu_blocked "while Verify's message box was shown"

gui_click_close_box "$GUI_MAIN"
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
gui_exit_from_menu
echo "PASS: command re-entry"
