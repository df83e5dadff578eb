#!/usr/bin/env bash
# The reply leaves by the interface on which the request came, wherever the default route leads:
#   bootp_routes.sh CLI PEER FD_AUDIT uplink   the default route leads out of a second interface
#   bootp_routes.sh CLI PEER FD_AUDIT none     there is no default route at all
set -u
route=${4:-}
case $route in
    uplink | none) ;;
    *) echo "FAIL: bootp_routes.sh needs the route: uplink or none" >&2; exit 1 ;;
esac
source "$(dirname "$0")/bootp_lib.sh" "$@"

# First make sure the routing table alone would not bring a limited broadcast to the unit.
broadcast_route=$(ip -n "$NETNS_ADMIN" -4 route get 255.255.255.255 2>&1)
if [ "$route" = uplink ]; then
    [[ $broadcast_route == *"dev $NETNS_ADMIN_UPLINK_IF"* ]] ||
        netns_fail "the routing table should send 255.255.255.255 out of $NETNS_ADMIN_UPLINK_IF: $broadcast_route"
    # Anything sent the routing table's way would reach this listener.
    netns_start 30 "$NETNS_UPLINK" "$WRENSET_PEER" bootp --device "$NETNS_UPLINK_IF" --count 0 --wait-ms 4000 \
        >"$NETNS_TMP/uplink-listener.replies" 2>"$NETNS_TMP/uplink-listener.err"
    listener=$NETNS_PID
    netns_await_text "$NETNS_TMP/uplink-listener.err" "sent 0 request(s)" 10 || netns_fail "the uplink listener never started"
else
    [[ $broadcast_route == *"unreachable"* ]] ||
        netns_fail "255.255.255.255 should have no route: $broadcast_route"
fi

cli_start "$route" --ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW"
peer "$route" --hw "$UNIT_HW" --xid 13572468 --wait-ms 2000
cli_finish "$route"
expect_eq "$CLI_STATUS" 0 "$route: exit status"
expect_file "$NETNS_TMP/$route.replies" \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 13572468 "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "$route: replies"
expect_file "$NETNS_TMP/$route.err" "$(answered_progress 1 "$UNIT_HW")"$'\n' "$route: standard error"

if [ "$route" = uplink ]; then
    netns_wait "$listener" 10 || check_failed "the uplink listener failed"
    expect_file "$NETNS_TMP/uplink-listener.replies" "" "what reached the uplink"
fi

finish
