#!/usr/bin/env bash
# A bind of port 67 that fails ends the exchange with the step's message, then the error's name,
# then the command-line front's hint, and exit status 1; the port it could not take is taken at
# once by the next exchange.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"

configure=(--ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW")

netns_start 60 "$NETNS_ADMIN" "$WRENSET_PEER" hold --port 67 --seconds 60 >"$NETNS_TMP/holder.out" 2>&1
holder=$NETNS_PID
netns_await_text "$NETNS_TMP/holder.out" "holding UDP port 67" 10 || netns_fail "the holder never bound port 67"
cli_run port-held "${configure[@]}"
expect_eq "$CLI_STATUS" 1 "port 67 held: exit status"
expect_file "$NETNS_TMP/port-held.err" "Bind error
Unrecognized Error
wrenset-cli: another program holds UDP port 67, often a DHCP server
" "port 67 held: standard error"
expect_file "$NETNS_TMP/port-held.out" "" "port 67 held: standard output"
netns_stop "$holder"

# Without root, the kernel refuses port 67 itself.
CLI_AS=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
cli_run no-privilege "${configure[@]}"
CLI_AS=()
expect_eq "$CLI_STATUS" 1 "port 67 without privilege: exit status"
expect_file "$NETNS_TMP/no-privilege.err" "Bind error
WSAEACCES:
wrenset-cli: binding UDP port 67 needs root or the capability cap_net_bind_service
" "port 67 without privilege: standard error"

cli_start released "${configure[@]}"
peer released --hw "$UNIT_HW" --xid 0badf00d --wait-ms 2000
cli_finish released
expect_eq "$CLI_STATUS" 0 "once the port is free: exit status"
expect_file "$NETNS_TMP/released.replies" \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 0badf00d "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "once the port is free: replies"

finish
