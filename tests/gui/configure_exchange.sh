#!/usr/bin/env bash
# The program's main job end to end, as a person does it: wrenset runs on the admin side of a
# namespace pair; Admin > Configure, four good fields typed and Enter close the dialog, which is
# gone from the screen (not viewable, and the main window shows again where it stood) while the
# exchange waits; a request from the unit side with the typed hardware address gets the five
# replies that carry the typed settings. The unit then takes its new address and net-snmp's agent
# answers there, and Admin > Verify says "The Unit is Active" in a box titled "Tanager".
# Usage: configure_exchange.sh WRENSET PEER
set -euo pipefail
here=$(dirname "$0")
. "$here/../netns/netns.sh"
. "$here/../netns/snmpd_unit.sh"
. "$here/../netns/bootp_reply.sh"
. "$here/gui_lib.sh"
peer=$2
netns_require snmpd ss
[ -x "$peer" ] || gui_fail "no test peer at '$peer'"
gui_require "$1"
netns_setup
gui_setup

unit_ip=192.0.2.50
mask=255.255.255.0
gateway=192.0.2.1
xid=0badcafe

gui_start_wrenset "$NETNS_ADMIN"
gui_main_area

gui_configure_from_menu "$unit_ip" "$mask" "$gateway" "$NETNS_UNIT_MAC"

# The exchange waits now. The main window's client area shows white and blue only, where the
# dialog covered most of it.
gui_screen_crop "$GUI_AREA_X" "$GUI_AREA_Y" "$GUI_AREA_W" "$GUI_AREA_H" "$GUI_TMP/waiting.png"
white=$(gui_pixels "$GUI_TMP/waiting.png" white | awk '{ print $5 }')
blue=$(gui_pixels "$GUI_TMP/waiting.png" blue | awk '{ print $5 }')
[ $((white + blue)) -ge $((GUI_AREA_W * GUI_AREA_H * 9 / 10)) ] ||
    gui_fail "while the exchange waits the main window's client area is not shown ($white white and $blue blue pixels of $((GUI_AREA_W * GUI_AREA_H)))"
gui_no_window '^BootP Parameters$' || gui_fail "the dialog is viewable while the exchange waits"

timeout 60 ip netns exec "$NETNS_UNIT" "$peer" bootp --device "$NETNS_UNIT_IF" --hw "$NETNS_UNIT_MAC" \
    --xid "$xid" --replies 5 --wait-ms 20000 >"$GUI_TMP/replies" 2>"$GUI_TMP/peer.err" ||
    gui_fail "the unit got no five replies: $(cat "$GUI_TMP/replies" "$GUI_TMP/peer.err")"
expected="$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
    "$(expected_reply "$xid" "$NETNS_UNIT_MAC" "$unit_ip" "$mask" "$gateway")")"$'\n'
[ "$(cat "$GUI_TMP/replies")"$'\n' = "$expected" ] ||
    gui_fail "replies differ; got:"$'\n'"$(cat "$GUI_TMP/replies")"$'\n'"expected:"$'\n'"$expected"
echo "the unit got five replies" >&2

# The unit now stands at its new address, where its agent answers.
netns_unit_address "$unit_ip/24"
snmpd_unit_start 60 "$unit_ip" || gui_fail "snmpd did not start: $(cat "$NETNS_TMP/snmpd/snmpd.out")"
gui_focus "$GUI_MAIN"
gui_key alt+a v
# The box shares its title with the main window; it is the other window of that title.
left=400
until box=$(gui_x xdotool search --all --onlyvisible --pid "$GUI_PID" --name '^Tanager$' | grep -vx "$GUI_MAIN"); do
    [ "$left" -gt 0 ] || gui_fail "Verify showed no box titled Tanager"
    sleep 0.05
    left=$((left - 1))
done
[ -z "$(gui_transient_for "$box")" ] || gui_fail "the probe's box has an owner"
text=$(gui_message_text "$box")
[ "$text" = "The Unit is Active" ] || gui_fail "Verify says '$text'"
gui_key Return
gui_wait_closed "$box" "the probe's box did not close"

gui_exit_from_menu
echo "PASS: configure and verify end to end"
