#!/usr/bin/env bash
# The main window as a person sees it: titled "Tanager" with the program's icon, the blue banner
# centred on the middle of the client area with its baseline there, still so after a resize (and
# drawn once, not left behind at the old place); Admin > Exit and the close box each end the
# program with status 0.
# Usage: main_window.sh WRENSET
set -euo pipefail
. "$(dirname "$0")/gui_lib.sh"
gui_require "$1"
gui_setup

# Checks the banner in a screenshot of the main window; prints the count of its blue pixels.
check_banner() {
    local shot="$GUI_TMP/main-$1.png" cl ct cr cb cn bl bt br bb bn
    gui_screenshot "$GUI_MAIN" "$shot"
    read -r cl ct cr cb cn < <(gui_pixels "$shot" white)
    read -r bl bt br bb bn < <(gui_pixels "$shot" blue)
    [ "$cn" -gt 0 ] || gui_fail "$1: no client area in the screenshot"
    [ "$bn" -gt 0 ] || gui_fail "$1: no blue banner in the screenshot"
    local width=$((cr - cl + 1)) height=$((cb - ct + 1))
    local centre=$((cl + width / 2)) middle=$((ct + height / 2))
    # The baseline is the row under the last row that carries the letters' full weight; only the
    # descender of the g goes below it.
    local baseline
    baseline=$(gui_row_counts "$shot" blue |
        awk '{ y[NR] = $1; c[NR] = $2; if ($2 > max) max = $2 } END { for (i = 1; i <= NR; i++) if (c[i] * 2 >= max) last = y[i]; print last + 1 }')
    # Text is centred on its advance width; the italic's slant puts the ink a few pixels right.
    gui_near $(((bl + br + 1) / 2)) "$centre" 6 ||
        gui_fail "$1: banner ink spans x $bl..$br, not centred on $centre in a client area ${width}x$height"
    gui_near "$baseline" "$middle" 2 ||
        gui_fail "$1: banner baseline at y $baseline, not on the middle $middle of a client area ${width}x$height"
    echo "$1: client area ${width}x$height, banner x $bl..$br y $bt..$bb, baseline $baseline" >&2
    printf '%s\n' "$bn"
}

gui_start_wrenset
title=$(gui_title "$GUI_MAIN")
[ "$title" = Tanager ] || gui_fail "main window titled '$title'"
gui_x xprop -id "$GUI_MAIN" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || gui_fail "no 32 x 32 icon on the main window"

blue_before=$(check_banner start)

gui_client "$GUI_MAIN"
size_before="${GUI_W}x$GUI_H"
gui_x xdotool windowsize "$GUI_MAIN" 700 460
left=200
while :; do
    gui_client "$GUI_MAIN"
    [ "${GUI_W}x$GUI_H" = "${size_before}" ] || break
    [ "$left" -gt 0 ] || gui_fail "the main window kept its size $size_before"
    sleep 0.05
    left=$((left - 1))
done
# Repainting follows the resize; wait until the banner shows at its new place.
left=100
until blue_after=$(check_banner resized 2>"$GUI_TMP/banner.err"); do
    [ "$left" -gt 0 ] || gui_fail "after the resize: $(cat "$GUI_TMP/banner.err")"
    sleep 0.1
    left=$((left - 1))
done
cat "$GUI_TMP/banner.err" >&2
# One banner, not one plus what is left of the old one.
gui_near "$blue_after" "$blue_before" $((blue_before / 10)) ||
    gui_fail "after the resize $blue_after blue pixels, before $blue_before"

gui_exit_from_menu

gui_start_wrenset
gui_click_close_box "$GUI_MAIN"
status=0
gui_wait_exit 20 || status=$?
[ "$status" -eq 0 ] || gui_fail "the close box ended the program with status $status"
echo "PASS: main window"
