#!/usr/bin/env bash
# --interface confines the exchange to one interface: a matching request on another one is never
# received, and the reply goes out of the named interface only. The admin side has two links
# here, to the unit and to the uplink.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"

unit=(--namespace "$NETNS_UNIT" --device "$NETNS_UNIT_IF")
uplink=(--namespace "$NETNS_UPLINK" --device "$NETNS_UPLINK_IF")

# name | --interface | the side whose request comes first and must go unheard | the side answered | the reply's source
cases=(
    "unit-link|$NETNS_ADMIN_IF|uplink|unit|$NETNS_ADMIN_ADDRESS"
    "uplink|$NETNS_ADMIN_UPLINK_IF|unit|uplink|198.51.100.1"
)

for row in "${cases[@]}"; do
    IFS='|' read -r name interface unheard answered source <<<"$row"
    declare -n unheard_side=$unheard answered_side=$answered
    cli_start "$name" --ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW" --interface "$interface"
    peer_start "$name-unheard" "${unheard_side[@]}" --hw "$UNIT_HW" --xid 0000dead --wait-ms 3000
    peer "$name" "${answered_side[@]}" --hw "$UNIT_HW" --xid 600d600d --wait-ms 2000
    netns_wait "$PEER_PID" 10 || check_failed "$name: the peer on the other link failed"
    cli_finish "$name"
    expect_eq "$CLI_STATUS" 0 "$name: exit status"
    expect_file "$NETNS_TMP/$name.replies" \
        "$(expected_replies 5 "$source" "${answered_side[3]}" \
            "$(expected_reply 600d600d "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "$name: replies"
    expect_file "$NETNS_TMP/$name-unheard.replies" "" "$name: what reached the other link"
    expect_file "$NETNS_TMP/$name.err" \
        "Waiting for the BOOTP request of ${UNIT_HW^^} on UDP port 67, interface $interface (attempt 1 of 101)
Reply sent to 255.255.255.255 port 68 via $interface: 5 of 5 sends went out
" "$name: standard error"
    unset -n unheard_side answered_side
done

finish
