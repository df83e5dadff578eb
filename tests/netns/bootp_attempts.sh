#!/usr/bin/env bash
# The exchange makes at most 101 attempts: a match in the 101st is answered; 101 other datagrams
# end it silently with exit status 1 and no reply, even to a matching request behind them; the
# next exchange then binds port 67 at once.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"

other_unit=0a:1b:2c:3d:4e:50
configure=(--ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW")
# The requests are paced like the exchange's own pause, so that none waits long in its queue.
flood=(--hw "$other_unit" --pause-ms 100 --wait-ms 0)

cli_start last-attempt "${configure[@]}"
peer last-attempt "${flood[@]}" --count 100
peer last-attempt --hw "$UNIT_HW" --xid 99999999 --wait-ms 2000
cli_finish last-attempt
expect_eq "$CLI_STATUS" 0 "a match in attempt 101: exit status"
expect_file "$NETNS_TMP/last-attempt.replies" \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 99999999 "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "a match in attempt 101: replies"
expect_file "$NETNS_TMP/last-attempt.err" "$(answered_progress 101 "$UNIT_HW")"$'\n' "a match in attempt 101: standard error"

cli_start gave-up "${configure[@]}"
peer gave-up "${flood[@]}" --count 101
peer gave-up --hw "$UNIT_HW" --xid 99999998 --wait-ms 2000
cli_finish gave-up
expect_eq "$CLI_STATUS" 1 "101 other datagrams: exit status"
expect_file "$NETNS_TMP/gave-up.replies" "" "101 other datagrams: replies"
expect_file "$NETNS_TMP/gave-up.out" "" "101 other datagrams: standard output"
# No message: only the progress lines, the last of them naming the last attempt.
expect_file "$NETNS_TMP/gave-up.err" "$(answered_progress 101 "$UNIT_HW" | head -n 101)"$'\n' \
    "101 other datagrams: standard error"

cli_start after-giving-up "${configure[@]}"
peer after-giving-up --hw "$UNIT_HW" --xid 99999997 --wait-ms 2000
cli_finish after-giving-up
expect_eq "$CLI_STATUS" 0 "the next exchange: exit status"
expect_file "$NETNS_TMP/after-giving-up.replies" \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 99999997 "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "the next exchange: replies"
expect_file "$NETNS_TMP/after-giving-up.err" "$(answered_progress 1 "$UNIT_HW")"$'\n' "the next exchange: standard error"

finish
