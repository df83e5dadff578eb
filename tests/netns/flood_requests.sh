#!/usr/bin/env bash
# A flood on port 67: a thousand datagrams that cannot match (requests for another unit,
# requests cut short before the end of the hardware address, over-long requests and random
# bytes of 0 to 1,500 bytes) sent as fast as the link takes them, or paced over ten seconds.
# The exchange takes one datagram per attempt: the unit's request among the first 101 is
# answered in its own attempt, with a diagnostic line for each over-long datagram before it;
# behind a flood that outlasts the 101 attempts it is never reached, and the exchange gives up
# silently. Either way wrenset-cli ends by itself, with no crash and no descriptor left open.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"

configure=(--ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW")

# flood NAME FLOOD-ARGS...: the peer's flood mode on the unit end; its lines go to NAME.flood.
flood() {
    local name=$1
    shift
    timeout 130 ip netns exec "$NETNS_UNIT" "$WRENSET_PEER" flood --device "$NETNS_UNIT_IF" --hw "$UNIT_HW" "$@" \
        >"$NETNS_TMP/$name.flood" 2>>"$NETNS_TMP/peer.err" || check_failed "$name: the flood peer failed ($?)"
}

# The lines wrenset-cli must print on standard output for the datagrams sent before number N:
# one diagnostic line for each that was longer than the 300-byte buffer.
overlong_lines_before() {
    awk -v n="$2" '$1 == "sent" && $2 < n && $4 > 300 { printf "recvfrom[%d]: Message too long\n", $2 }' "$1"
}

# The unit's request as the 51st datagram: fifty of the flood go first, 950 follow.
cli_start amid-flood "${configure[@]}"
flood amid-flood --count 1000 --match-after 50 --xid 0f100d51 --seed 7 --replies 5 --wait-ms 15000
cli_finish amid-flood
expect_eq "$CLI_STATUS" 0 "the match amid the flood: exit status"
expect_eq "$(awk '$1 == "sent" && $3 == "match" { print $2 }' "$NETNS_TMP/amid-flood.flood")" 51 \
    "the match amid the flood: its place"
expect_file <(grep '^reply ' "$NETNS_TMP/amid-flood.flood") \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 0f100d51 "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' \
    "the match amid the flood: replies"
expect_file "$NETNS_TMP/amid-flood.err" "$(answered_progress 51 "$UNIT_HW")"$'\n' \
    "the match amid the flood: standard error"
expect_file "$NETNS_TMP/amid-flood.out" "$(overlong_lines_before "$NETNS_TMP/amid-flood.flood" 51)"$'\n' \
    "the match amid the flood: standard output"
[ -s "$NETNS_TMP/amid-flood.out" ] || check_failed "the match amid the flood: no over-long datagram came before it"

# A thousand paced 10 ms apart keep the queue full for longer than the 101 attempts take; the
# unit's request comes last. Which datagrams the kernel dropped from the full queue is its own
# affair, so the diagnostic lines are checked for their form and attempt numbers only.
cli_start behind-flood "${configure[@]}"
flood behind-flood --count 1000 --pause-ms 10 --match-after 1000 --xid 0f100d52 --seed 8 --wait-ms 2000
cli_finish behind-flood
expect_eq "$CLI_STATUS" 1 "behind the flood: exit status"
expect_file <(grep '^reply ' "$NETNS_TMP/behind-flood.flood") "" "behind the flood: replies"
expect_file "$NETNS_TMP/behind-flood.err" "$(answered_progress 101 "$UNIT_HW" | head -n 101)"$'\n' \
    "behind the flood: standard error"
if ! awk 'BEGIN { last = 0 }
          !/^recvfrom\[[0-9]+\]: Message too long$/ { exit 1 }
          { n = substr($1, 10) + 0; if (n <= last || n > 101) exit 1; last = n }
          END { if (NR == 0) exit 1 }' "$NETNS_TMP/behind-flood.out"; then
    cat "$NETNS_TMP/behind-flood.out" >&2
    check_failed "behind the flood: standard output is not a rising series of diagnostic lines within 101 attempts"
fi

finish
