#!/usr/bin/env bash
# A matching request, whatever its other bytes, gets five byte-exact 300-byte replies from port 67
# to 255.255.255.255:68 on the unit link, with its xid and the typed address, mask and router.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"

# name | typed hw | xid | address | mask | gateway | the request's other bytes (peer options)
cases=(
    "plain|0a:1b:2c:3d:4e:5f|deadbeef|192.0.2.50|255.255.255.0|192.0.2.1|"
    "upper-case-hw|0A:1B:2C:3D:4E:5F|00000001|192.0.2.51|255.255.255.128|192.0.2.126|"
    "broadcast-flag|0a:1b:2c:3d:4e:5f|80000000|198.51.100.20|255.255.0.0|198.51.100.1|--flags 8000"
    "unicast-fields|0a:1b:2c:3d:4e:5f|12345678|192.0.2.52|255.255.255.0|192.0.2.1|--ciaddr 192.0.2.77 --giaddr 198.51.100.9"
    "not-a-request|0a:1b:2c:3d:4e:5f|fedcba98|192.0.2.53|255.255.255.0|192.0.2.1|--op 2"
    "all-other-bytes-ff|0a:1b:2c:3d:4e:5f|a5a5a5a5|192.0.2.54|255.255.255.0|192.0.2.1|--fill 255"
)

for row in "${cases[@]}"; do
    IFS='|' read -r name hw xid ip mask gw shape <<<"$row"
    cli_start "$name" --ip "$ip" --mask "$mask" --gateway "$gw" --hw "$hw"
    # shellcheck disable=SC2086
    peer "$name" --hw "${hw,,}" --xid "$xid" $shape --wait-ms 2000
    cli_finish "$name"
    expect_eq "$CLI_STATUS" 0 "$name: exit status"
    expect_file "$NETNS_TMP/$name.replies" \
        "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" "$(expected_reply "$xid" "$hw" "$ip" "$mask" "$gw")")"$'\n' \
        "$name: replies"
    expect_file "$NETNS_TMP/$name.out" "" "$name: standard output"
    expect_file "$NETNS_TMP/$name.err" "$(answered_progress 1 "$hw")"$'\n' "$name: standard error"
done

finish
