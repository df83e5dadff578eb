#!/usr/bin/env bash
# Which datagrams on port 67 are answered. Each row sends its requests in order to one exchange;
# the last one matches. The xid of the five replies tells which request was answered, and
# standard output holds the diagnostic line of each failed receive.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"

other_unit=0a:1b:2c:3d:4e:50        # differs from the unit in its last byte
first_byte_other=ff:1b:2c:3d:4e:5f  # differs in its first byte only: its byte 33 is the unit's

# name | attempts until the match | answered xid | standard output ('/' between lines) | requests ('/' between them)
cases=(
    "other-unit-ignored|2|22222222||--hw $other_unit --xid 11111111/--xid 22222222"
    # A short datagram is compared only as far as it goes: the 33-byte one carries the unit's
    # first five bytes, and the request before it left the unit's sixth at byte 33.
    "short-never-matches|5|55555555||--hw $first_byte_other --xid 33333333/--length 33 --xid 44444444/--length 8 --xid 44444444/--length 0/--xid 55555555"
    "over-long-301|1|66666666|recvfrom[1]: Message too long|--length 301 --xid 66666666"
    "over-long-1472|1|66666667|recvfrom[1]: Message too long|--length 1472 --xid 66666667"
    "over-long-1500|1|66666668|recvfrom[1]: Message too long|--length 1500 --xid 66666668"
    "over-long-in-attempt-2|2|77777777|recvfrom[2]: Message too long|--hw $other_unit --xid 11111111/--length 400 --xid 77777777"
    "over-long-other-unit|2|88888888|recvfrom[1]: Message too long|--hw $other_unit --length 600 --xid 11111111/--xid 88888888"
)

for row in "${cases[@]}"; do
    IFS='|' read -r name attempts xid stdout requests <<<"$row"
    IFS='/' read -r -a sends <<<"$requests"
    cli_start "$name" --ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW"
    last=$((${#sends[@]} - 1))
    for i in "${!sends[@]}"; do
        wait_ms=0
        [ "$i" -lt "$last" ] || wait_ms=2000
        # shellcheck disable=SC2086
        peer "$name" --hw "$UNIT_HW" ${sends[$i]} --wait-ms "$wait_ms"
    done
    cli_finish "$name"
    expect_eq "$CLI_STATUS" 0 "$name: exit status"
    expect_file "$NETNS_TMP/$name.replies" \
        "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
            "$(expected_reply "$xid" "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "$name: replies"
    expected_stdout=""
    [ -z "$stdout" ] || expected_stdout="${stdout//\//$'\n'}"$'\n'
    expect_file "$NETNS_TMP/$name.out" "$expected_stdout" "$name: standard output"
    expect_file "$NETNS_TMP/$name.err" "$(answered_progress "$attempts" "$UNIT_HW")"$'\n' "$name: standard error"
done

finish
