# gui_lib.sh: the real wrenset on a virtual display with a window manager, driven by the keyboard
# and the mouse as a person would, and checked by what is on the screen. Source it from bash.
#
#   gui_require WRENSET
#       Skips the script (exit 77) unless it runs as root (wrenset runs in a network namespace of
#       its own) and Xvfb, openbox, xdotool, xprop, xclip, ImageMagick and unshare are there. With
#       the environment variable CI set it fails (exit 1) instead of skipping.
#       (Test tools: xwininfo and xprop come with x11-utils, import and convert with imagemagick.)
#
#   gui_setup
#       Starts Xvfb on a display number that it picks itself (-displayfd), listening on its path
#       socket only (-nolisten tcp), so that a program in another network namespace reaches it
#       through the file system; then openbox on it. Exports DISPLAY and GUI_TMP (a private folder).
#       Installs a trap on EXIT, INT and TERM that ends wrenset, openbox and Xvfb by their PIDs and
#       removes GUI_TMP. Call it once per script, after netns_setup if the script uses that.
#
#   gui_start_wrenset [NAMESPACE]
#       Starts wrenset in a fresh network namespace of its own (unshare -n: no interface but a lo
#       that is down), or inside NAMESPACE (ip netns exec), and waits for its main window.
#       Sets GUI_PID and GUI_MAIN (the main window's id). Its output goes to $GUI_TMP/wrenset.out.
#
#   gui_wait_exit SECONDS
#       Waits for wrenset to end and returns its exit status; fails the test if it does not end.
#
#   gui_wait_window REGEX
#       Waits for a viewable window of wrenset whose title matches REGEX (xdotool ignores case;
#       anchor the pattern) and prints its id. gui_no_window REGEX is true if there is none now;
#       gui_wait_gone REGEX MESSAGE waits until there is none, or fails with MESSAGE;
#       gui_wait_closed ID MESSAGE waits until that one window is no longer viewable.
#
#   gui_title ID, gui_transient_for ID
#       The window's title; the id of the window that owns it (empty for an ownerless window).
#
#   gui_focus ID; gui_key KEY...; gui_type TEXT; gui_click X Y
#       Activate a window; press keys, type text and click the first button where the window that
#       has the focus (or lies under the pointer) receives them.
#
#   gui_client ID      sets GUI_X GUI_Y GUI_W GUI_H: the window's area, in root coordinates
#   gui_outer ID       sets the same for the window with its frame (the window manager's decoration)
#
#   gui_click_close_box ID
#       Clicks the close box of window ID: the rightmost button of its title bar.
#
#   gui_expect_owned ID TITLE OWNER OWNER_NAME WHAT
#       Fails the test ("WHAT titled ...", "WHAT owned by ...") unless window ID is titled TITLE
#       and owned by window OWNER, which the message calls OWNER_NAME.
#
#   gui_configure_from_menu IP MASK GATEWAY HW
#       Admin > Configure: types the four fields into the parameters dialog, presses Enter and
#       waits until the dialog has closed, as four good fields close it.
#
#   gui_exit_from_menu [REPORT...]
#       Admin > Exit, which is to end wrenset with status 0. Another status goes to the command
#       REPORT (gui_fail unless given) as the last argument, "Admin > Exit ended with status N".
#
#   gui_main_area
#       Sets GUI_AREA_X GUI_AREA_Y GUI_AREA_W GUI_AREA_H: the main window's client area (the white
#       below the menu) on the screen, from a screenshot; fails the test if there is none.
#   gui_menu_area FILE
#       Writes to FILE the part of the screen where a menu dropped from Admin shows, at the top
#       left of the client area that gui_main_area found.
#   gui_click_admin
#       Clicks the Admin menu of the main window.
#   gui_expect_menu_blocked WHILE
#       While a window takes the main window's input: a click on Admin and then the key c open no
#       menu (the menu area in $GUI_TMP/menu-closed.png stays as it was) and start no Configure;
#       else fails the test with "the main window's menu opened WHILE" or "Configure started WHILE".
#
#   gui_message_text ID
#       Prints the text of a message box the way a person copies it: Shift+Tab puts the focus on
#       the message, which selects it, and the selection is read with xclip.
#   gui_selected_text KEY...
#       Presses the keys and prints the text they selected (Tab into a field selects its text),
#       empty if none.
#
#   gui_screenshot ID FILE; gui_screen_crop X Y W H FILE
#   gui_pixels FILE CLASS
#       Prints "left top right bottom count" of the pixels of CLASS in FILE: blue (the banner),
#       white (the main window's client area) or dark (text). gui_row_counts FILE CLASS prints
#       "y count" for each row.
#
#   gui_same_pixels FILE FILE  true if two pictures hold the same pixels
#   gui_near A B TOLERANCE     true if A and B differ by at most TOLERANCE
#   gui_fail MESSAGE           prints "FAIL: MESSAGE" (and wrenset's output) and exits 1
#
# The display sometimes resets a connection opened right after another client closed its own;
# every X client here is run through gui_x, which tries again when that happens, and when a
# window that a search came across went away under it (BadWindow).

GUI_SKIP_CODE=77
GUI_PIDS=()

gui_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${GUI_TMP:-}" ] && [ -s "$GUI_TMP/wrenset.out" ]; then
        echo "--- wrenset's output:" >&2
        cat "$GUI_TMP/wrenset.out" >&2
    fi
    exit 1
}

gui_skip() {
    if [ -n "${CI:-}" ]; then
        gui_fail "$* (CI is set, so this does not skip)"
    fi
    echo "SKIP: $*" >&2
    exit "$GUI_SKIP_CODE"
}

gui_require() {
    GUI_WRENSET=$1
    [ -x "$GUI_WRENSET" ] || gui_fail "no wrenset at '$GUI_WRENSET'"
    [ "$(id -u)" -eq 0 ] || gui_skip "needs root to run wrenset in a network namespace of its own"
    local command
    for command in Xvfb openbox xdotool xprop xwininfo xclip import convert unshare timeout; do
        command -v "$command" >/dev/null 2>&1 || gui_skip "needs $command"
    done
    unshare -n true 2>/dev/null || gui_skip "unshare -n does not work here"
}

gui_running() {
    [ -r "/proc/$1/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

gui_end() {
    local pid=$1 left=100
    kill -TERM "$pid" 2>/dev/null
    while gui_running "$pid" && [ "$left" -gt 0 ]; do
        sleep 0.05
        left=$((left - 1))
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

gui_cleanup() {
    local status=$?
    set +e
    trap - EXIT
    trap "" INT TERM
    local index
    # Last started, first ended: wrenset, then openbox, then Xvfb.
    for ((index = ${#GUI_PIDS[@]} - 1; index >= 0; index--)); do
        gui_end "${GUI_PIDS[index]}"
    done
    if [ -n "${GUI_TMP:-}" ] && [ -d "$GUI_TMP" ]; then
        rm -rf -- "$GUI_TMP"
    fi
    # A trap installed before (netns.sh's) still runs.
    if [ -n "${GUI_PREVIOUS_TRAP:-}" ]; then
        (exit "$status")
        eval "$GUI_PREVIOUS_TRAP"
    fi
    exit "$status"
}

gui_forget_pid() {
    local kept=() pid
    for pid in "${GUI_PIDS[@]}"; do
        [ "$pid" = "$1" ] || kept+=("$pid")
    done
    GUI_PIDS=("${kept[@]}")
}

# Runs an X client; tries again (up to 20 times) when it could not connect to the display.
gui_x() {
    local attempt error status
    for attempt in $(seq 20); do
        status=0
        { error=$("$@" 2>&1 1>&3 3>&-); } 3>&1 || status=$?
        if [ "$status" -eq 0 ] || ! grep -qiE "can't open display|cannot open display|failed creating new xdo|connection (reset|refused)|unable to open display|BadWindow" <<<"$error"; then
            [ -z "$error" ] || printf '%s\n' "$error" >&2
            return "$status"
        fi
        sleep 0.02
    done
    printf '%s\n' "$error" >&2
    return "$status"
}

gui_setup() {
    GUI_TMP=$(mktemp -d "/tmp/wrenset-gui-$$.XXXXXX")
    GUI_PREVIOUS_TRAP=$(trap -p EXIT | sed -n "s/^trap -- '\(.*\)' EXIT$/\1/p")
    trap gui_cleanup EXIT
    trap 'echo "interrupted: cleaning up" >&2; exit 130' INT
    trap 'echo "interrupted: cleaning up" >&2; exit 143' TERM

    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$GUI_TMP/display" \
        >"$GUI_TMP/xvfb.out" 2>&1 &
    GUI_PIDS+=($!)
    local left=200
    until [ -s "$GUI_TMP/display" ]; do
        gui_running "${GUI_PIDS[0]}" || gui_fail "Xvfb did not start: $(cat "$GUI_TMP/xvfb.out")"
        [ "$left" -gt 0 ] || gui_fail "Xvfb named no display"
        sleep 0.05
        left=$((left - 1))
    done
    export DISPLAY=":$(head -n 1 "$GUI_TMP/display")"

    openbox --sm-disable >"$GUI_TMP/openbox.out" 2>&1 &
    GUI_PIDS+=($!)
    # The window manager is up once it has announced itself on the root window.
    left=200
    until gui_x xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        [ "$left" -gt 0 ] || gui_fail "openbox did not start: $(cat "$GUI_TMP/openbox.out")"
        sleep 0.05
        left=$((left - 1))
    done
    export GUI_TMP
}

gui_start_wrenset() {
    local namespace=${1:-} attempt
    for attempt in 1 2 3 4 5; do
        if [ -n "$namespace" ]; then
            ip netns exec "$namespace" "$GUI_WRENSET" >"$GUI_TMP/wrenset.out" 2>&1 &
        else
            unshare -n -- "$GUI_WRENSET" >"$GUI_TMP/wrenset.out" 2>&1 &
        fi
        GUI_PID=$!
        GUI_PIDS+=("$GUI_PID")
        GUI_MAIN=$(gui_wait_window '^Tanager$' 2>/dev/null) && return 0
        # A display that reset the program's first connection makes GTK give up at once.
        if ! gui_running "$GUI_PID" && grep -q "Unable to initialize GTK" "$GUI_TMP/wrenset.out"; then
            wait "$GUI_PID" 2>/dev/null
            gui_forget_pid "$GUI_PID"
            continue
        fi
        break
    done
    gui_fail "wrenset's main window did not appear"
}

gui_wait_exit() {
    local left=$(($1 * 20)) status=0
    while gui_running "$GUI_PID"; do
        [ "$left" -gt 0 ] || gui_fail "wrenset did not end within $1 s"
        sleep 0.05
        left=$((left - 1))
    done
    wait "$GUI_PID" || status=$?
    gui_forget_pid "$GUI_PID"
    return "$status"
}

gui_wait_window() {
    local id
    id=$(gui_x timeout 30 xdotool search --sync --all --onlyvisible --pid "$GUI_PID" --name "$1" | head -n 1)
    [ -n "$id" ] || return 1
    printf '%s\n' "$id"
}

gui_no_window() {
    [ -z "$(gui_x xdotool search --all --onlyvisible --pid "$GUI_PID" --name "$1")" ]
}

gui_wait_gone() {
    local left=400
    until gui_no_window "$1"; do
        [ "$left" -gt 0 ] || gui_fail "$2"
        sleep 0.05
        left=$((left - 1))
    done
}

# Waits until window ID is no longer viewable, or fails with MESSAGE.
gui_wait_closed() {
    local left=400
    while gui_x xdotool search --all --onlyvisible --pid "$GUI_PID" --name . | grep -qx "$1"; do
        [ "$left" -gt 0 ] || gui_fail "$2"
        sleep 0.05
        left=$((left - 1))
    done
}

gui_title() { gui_x xdotool getwindowname "$1"; }

gui_transient_for() {
    gui_x xprop -id "$1" WM_TRANSIENT_FOR | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p'
}

gui_focus() { gui_x timeout 10 xdotool windowactivate --sync "$1" >/dev/null; }
gui_key() { gui_x xdotool key --delay 30 "$@"; }
gui_type() { gui_x xdotool type --delay 30 -- "$1"; }
gui_click() { gui_x xdotool mousemove --sync "$1" "$2" click 1; }

gui_client() {
    local info
    info=$(gui_x xwininfo -id "$1") || gui_fail "no geometry for window $1"
    GUI_X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    GUI_Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    GUI_W=$(sed -n 's/^ *Width: *//p' <<<"$info")
    GUI_H=$(sed -n 's/^ *Height: *//p' <<<"$info")
}

gui_outer() {
    gui_client "$1"
    local extents left right top bottom
    extents=$(gui_x xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
    IFS=', ' read -r left right top bottom <<<"$extents"
    GUI_X=$((GUI_X - ${left:-0}))
    GUI_Y=$((GUI_Y - ${top:-0}))
    GUI_W=$((GUI_W + ${left:-0} + ${right:-0}))
    GUI_H=$((GUI_H + ${top:-0} + ${bottom:-0}))
}

# Presses KEYS, after which the window with the focus is to select a text, and prints that text
# (empty if nothing was selected).
gui_selected_text() {
    local sentinel="wrenset-gui-sentinel-$$-$RANDOM" text="" left=100 holder=""
    # The test holds the selection first, so that a text read afterwards is the program's own.
    until [ "$(gui_x xclip -o -selection primary 2>/dev/null)" = "$sentinel" ]; do
        if [ -z "$holder" ] || ! gui_running "$holder"; then
            [ -z "$holder" ] || wait "$holder" 2>/dev/null
            printf '%s' "$sentinel" | xclip -quiet -selection primary -i >/dev/null 2>&1 &
            holder=$!
        fi
        [ "$left" -gt 0 ] || gui_fail "could not take the selection"
        sleep 0.05
        left=$((left - 1))
    done
    gui_key "$@"
    left=60
    while :; do
        text=$(gui_x xclip -o -selection primary 2>/dev/null)
        [ -n "$text" ] && [ "$text" != "$sentinel" ] && break
        [ "$left" -gt 0 ] || break
        sleep 0.05
        left=$((left - 1))
    done
    # Losing the selection ends the holder; one that still has it is ended here.
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null
    [ "$text" != "$sentinel" ] || text=""
    printf '%s\n' "$text"
}

gui_click_close_box() {
    gui_outer "$1"
    gui_click $((GUI_X + GUI_W - 10)) $((GUI_Y + 10))
}

gui_expect_owned() {
    local id=$1 title=$2 owner=$3 owner_name=$4 what=$5 actual
    actual=$(gui_title "$id")
    [ "$actual" = "$title" ] || gui_fail "$what titled '$actual'"
    actual=$(gui_transient_for "$id")
    [ "$((actual))" -eq "$owner" ] || gui_fail "$what owned by '$actual', not by $owner_name"
}

gui_configure_from_menu() {
    gui_focus "$GUI_MAIN"
    gui_key alt+a c
    local dialog
    dialog=$(gui_wait_window '^BootP Parameters$') || gui_fail "Admin > Configure opened no dialog"
    gui_type "$1"
    gui_key Tab
    gui_type "$2"
    gui_key Tab
    gui_type "$3"
    gui_key Tab
    gui_type "$4"
    gui_key Return
    gui_wait_closed "$dialog" "four good fields did not close the dialog"
}

gui_exit_from_menu() {
    gui_focus "$GUI_MAIN"
    gui_key alt+a x
    local status=0
    gui_wait_exit 20 || status=$?
    [ "$status" -eq 0 ] || "${@:-gui_fail}" "Admin > Exit ended with status $status"
}

gui_main_area() {
    gui_screenshot "$GUI_MAIN" "$GUI_TMP/main.png"
    local left top right bottom count
    read -r left top right bottom count < <(gui_pixels "$GUI_TMP/main.png" white)
    [ "$count" -gt 0 ] || gui_fail "no client area in the main window"
    gui_client "$GUI_MAIN"
    GUI_AREA_X=$((GUI_X + left)) GUI_AREA_Y=$((GUI_Y + top))
    GUI_AREA_W=$((right - left + 1)) GUI_AREA_H=$((bottom - top + 1))
}

gui_menu_area() {
    gui_screen_crop $((GUI_AREA_X + 2)) $((GUI_AREA_Y + 2)) 40 60 "$1"
}

gui_click_admin() {
    gui_client "$GUI_MAIN"
    gui_click $((GUI_X + 20)) $((GUI_Y + 12))
}

gui_expect_menu_blocked() {
    gui_menu_area "$GUI_TMP/menu-closed.png"
    gui_click_admin
    gui_key c
    gui_menu_area "$GUI_TMP/menu-now.png"
    gui_same_pixels "$GUI_TMP/menu-closed.png" "$GUI_TMP/menu-now.png" || gui_fail "the main window's menu opened $1"
    gui_no_window '^BootP Parameters$' || gui_fail "Configure started $1"
}

# Shift+Tab puts the focus on the message, which selects it.
gui_message_text() {
    gui_focus "$1"
    gui_selected_text shift+Tab
}

gui_screenshot() { gui_x import -window "$1" "$2"; }

gui_screen_crop() {
    gui_x import -window root -crop "${3}x${4}+${1}+${2}" +repage "$5"
}

# The pixel classes: the banner's blue, the client area's white, and the dark of text.
GUI_PIXEL_AWK='
function member(r, g, b) {
    if (class == "blue") return b > 200 && r < 80 && g < 80
    if (class == "white") return r == 255 && g == 255 && b == 255
    return r < 110 && g < 110 && b < 110
}'

gui_pixels() {
    convert "$1" -depth 8 txt:- | awk -F'[ ,:()]+' -v class="$2" "$GUI_PIXEL_AWK"'
        NR > 1 && member($3, $4, $5) {
            if (n == 0 || $1 < l) l = $1
            if (n == 0 || $1 > r) r = $1
            if (n == 0 || $2 < t) t = $2
            if (n == 0 || $2 > b) b = $2
            n++
        }
        END { print l + 0, t + 0, r + 0, b + 0, n + 0 }'
}

gui_row_counts() {
    convert "$1" -depth 8 txt:- | awk -F'[ ,:()]+' -v class="$2" "$GUI_PIXEL_AWK"'
        NR > 1 && member($3, $4, $5) { count[$2]++ }
        END { for (y in count) print y, count[y] }' | sort -n
}

# True if the two pictures hold the same pixels.
gui_same_pixels() {
    cmp -s <(convert "$1" -depth 8 rgb:-) <(convert "$2" -depth 8 rgb:-)
}

# True if |A - B| <= TOLERANCE.
gui_near() {
    local difference=$(($1 - $2))
    [ "${difference#-}" -le "$3" ]
}
