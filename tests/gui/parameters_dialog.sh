#!/usr/bin/env bash
# The parameters dialog as a person meets it. Every showing of Admin > Configure opens
# "BootP Parameters", owned by the main window and centred over it wherever that stands, with four
# empty fields and the focus in IP Address. Go (Enter) checks the fields in the order IP address,
# hardware address, default gateway, subnet mask; a rejected field shows its message, titled with
# the program's name and owned by the dialog, and the dialog stays open with the texts in place.
# Escape, the Cancel button and the close box each close it. No field set here is accepted, so no
# exchange starts (that is configure_exchange.sh's part).
# Usage: parameters_dialog.sh WRENSET
set -euo pipefail
. "$(dirname "$0")/gui_lib.sh"
gui_require "$1"
gui_setup
app_name=$(basename "$1")

# The four fields in dialog units (x, y, width, height) and the template's size.
fields=("93 12 92 13" "93 31 92 13" "93 50 92 13" "93 69 92 13")
template_width=258
template_height=92

# Opens the dialog from the menu and checks how it opens; sets DIALOG.
open_dialog() {
    gui_focus "$GUI_MAIN"
    gui_key alt+a c
    DIALOG=$(gui_wait_window '^BootP Parameters$') || gui_fail "$1: Admin > Configure opened no dialog"
    gui_expect_owned "$DIALOG" "BootP Parameters" "$GUI_MAIN" "the main window" "$1: dialog"

    local mx my mw mh
    gui_outer "$GUI_MAIN"
    mx=$GUI_X my=$GUI_Y mw=$GUI_W mh=$GUI_H
    gui_outer "$DIALOG"
    gui_near $((GUI_X + GUI_W / 2)) $((mx + mw / 2)) 4 && gui_near $((GUI_Y + GUI_H / 2)) $((my + mh / 2)) 4 ||
        gui_fail "$1: dialog at ${GUI_W}x$GUI_H+$GUI_X+$GUI_Y is not centred over the main window at ${mw}x$mh+$mx+$my"

    local index
    for index in 0 1 2 3; do
        [ "$(field_ink "$index")" -le 30 ] || gui_fail "$1: field $((index + 1)) does not open empty"
    done
}

# Prints the count of dark pixels inside field INDEX of the open dialog (a few for the caret).
field_ink() {
    local x y w h
    read -r x y w h <<<"${fields[$1]}"
    gui_client "$DIALOG"
    local left=$((GUI_X + x * GUI_W / template_width + 4)) top=$((GUI_Y + y * GUI_H / template_height + 4))
    local width=$((w * GUI_W / template_width - 8)) height=$((h * GUI_H / template_height - 8))
    gui_screen_crop "$left" "$top" "$width" "$height" "$GUI_TMP/field.png"
    gui_pixels "$GUI_TMP/field.png" dark | awk '{ print $5 }'
}

# Presses Enter, checks the one message that follows, dismisses it and checks the dialog is still open.
expect_message() {
    gui_key Return
    local box text
    box=$(gui_wait_window "^$app_name\$") || gui_fail "$1: no message box"
    gui_expect_owned "$box" "$app_name" "$DIALOG" "the dialog" "$1: message box"
    text=$(gui_message_text "$box")
    [ "$text" = "$2" ] || gui_fail "$1: message '$text', expected '$2'"
    gui_key Return
    gui_wait_gone "^$app_name\$" "$1: the message box did not close"
    gui_no_window '^BootP Parameters$' && gui_fail "$1: the dialog closed after a rejected field"
    echo "$1: '$text'" >&2
}

# Types the four fields, from the IP Address field on, in screen order.
type_fields() {
    local values=("$@") index
    for index in 0 1 2 3; do
        [ "$index" -eq 0 ] || gui_key Tab
        [ -z "${values[index]}" ] || gui_type "${values[index]}"
    done
}

gui_start_wrenset

# The focus is in IP Address: a good address typed at once passes, and the next check rejects.
open_dialog "first showing"
gui_type 192.0.2.10
[ "$(field_ink 0)" -gt 30 ] || gui_fail "the typed address does not show in the IP Address field"
expect_message "focus" "Invalid Hardware Address"
gui_key Escape
gui_wait_gone '^BootP Parameters$' "Escape did not close the dialog"

# A bad address, and the texts stay in place: Tab from the last field round to each field selects
# its text.
open_dialog "bad address"
set -- 192.0.2.300 255.255.255.0 192.0.2.1 02:00:00:00:00:01
type_fields "$@"
expect_message "bad address" "Invalid IP Address"
gui_key Tab Tab
for expected in "$@"; do
    text=$(gui_selected_text Tab)
    [ "$text" = "$expected" ] || gui_fail "after the message a field holds '$text', expected '$expected'"
done
gui_key Tab Tab
# The focus is on Cancel now.
gui_key space
gui_wait_gone '^BootP Parameters$' "the Cancel button did not close the dialog"

# The checks' order, one showing per row: ip | mask | gateway | hardware | message.
cases=(
    "||||Invalid IP Address"
    "192.0.2.10|||02:00:00:00:00|Invalid Hardware Address"
    "192.0.2.10|255.255.255.300|192.0.2.x|02:00:00:00:00:01|Invalid Default Gateway Address"
    "192.0.2.10|255.255.255.255|192.0.2.1|02:00:00:00:00:01|Invalid Subnet Mask"
)
# The dialog opens centred over the main window wherever that is.
gui_x xdotool windowmove "$GUI_MAIN" 60 80
for row in "${cases[@]}"; do
    IFS='|' read -r ip mask gateway hardware message <<<"$row"
    open_dialog "$message"
    type_fields "$ip" "$mask" "$gateway" "$hardware"
    expect_message "row '$row'" "$message"
    gui_key Escape
    gui_wait_gone '^BootP Parameters$' "Escape did not close the dialog"
done

# The close box closes it too.
open_dialog "close box"
gui_click_close_box "$DIALOG"
gui_wait_gone '^BootP Parameters$' "the close box did not close the dialog"

gui_exit_from_menu
echo "PASS: parameters dialog"
