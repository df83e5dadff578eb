#!/usr/bin/env bash
# Makes the README's pictures with the GUI tests' own tooling: the main window, and the
# parameters dialog with a unit's settings typed in, each with its window frame.
# Usage: screenshots.sh WRENSET [FOLDER]   (FOLDER: docs/screenshots of the source tree)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/gui_lib.sh"
folder=${2:-$here/../../docs/screenshots}
gui_require "$1"
mkdir -p "$folder"
gui_setup

# Writes window ID with its frame to FILE.
shoot() {
    gui_outer "$1"
    gui_screen_crop "$GUI_X" "$GUI_Y" "$GUI_W" "$GUI_H" "$2"
    echo "wrote $2 (${GUI_W}x$GUI_H)"
}

gui_start_wrenset
gui_x xdotool windowmove "$GUI_MAIN" 200 200
gui_focus "$GUI_MAIN"
shoot "$GUI_MAIN" "$folder/main-window.png"

gui_key alt+a c
dialog=$(gui_wait_window '^BootP Parameters$') || gui_fail "Admin > Configure opened no dialog"
for text in 192.0.2.50 255.255.255.0 192.0.2.1 02:00:5e:10:00:01; do
    [ "$text" = 192.0.2.50 ] || gui_key Tab
    gui_type "$text"
done
shoot "$dialog" "$folder/parameters-dialog.png"
gui_key Escape
gui_wait_closed "$dialog" "Escape did not close the dialog"
gui_exit_from_menu
