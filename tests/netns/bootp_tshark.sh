#!/usr/bin/env bash
# tshark on the unit end, an independent dissector, decodes what crossed the link: the request,
# then five BOOTP replies (no DHCP message type) from the admin end to 255.255.255.255:68 with
# the request's xid, the typed address, and exactly the mask and router options.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"
netns_require tshark

ip=192.0.2.60 mask=255.255.254.0 gateway=192.0.2.254 xid=c0ffee01
capture="$NETNS_TMP/capture.pcapng"
admin_mac=$(ip -n "$NETNS_ADMIN" -o link show dev "$NETNS_ADMIN_IF" | sed -n 's/.*link\/ether \([0-9a-f:]*\).*/\1/p')

# The request and the five replies: tshark stops after those six.
netns_start 40 "$NETNS_UNIT" tshark -i "$NETNS_UNIT_IF" -n -c 6 -f "udp port 67 or udp port 68" -w "$capture" \
    >"$NETNS_TMP/tshark.out" 2>"$NETNS_TMP/tshark.err"
tshark_pid=$NETNS_PID
# "Capturing on" comes before the capture runs; the name of the open file comes once it does.
netns_await_text "$NETNS_TMP/tshark.err" "File: \"$capture\"" 30 ||
    netns_fail "tshark never started capturing: $(cat "$NETNS_TMP/tshark.err")"

cli_start tshark --ip "$ip" --mask "$mask" --gateway "$gateway" --hw "$UNIT_HW"
peer tshark --hw "$UNIT_HW" --xid "$xid" --wait-ms 1000
cli_finish tshark
expect_eq "$CLI_STATUS" 0 "exit status"
netns_wait "$tshark_pid" 20 || check_failed "tshark did not capture six packets: $(cat "$NETNS_TMP/tshark.err")"

fields=(_ws.col.Protocol _ws.col.Info eth.src ip.src ip.dst udp.srcport udp.dstport udp.length dhcp.type dhcp.id
    dhcp.hw.mac_addr dhcp.ip.your dhcp.cookie dhcp.option.subnet_mask dhcp.option.router dhcp.option.dhcp dhcp.secs)
tshark -r "$capture" -n -T fields -E separator='|' "${fields[@]/#/-e}" >"$NETNS_TMP/decoded" 2>"$NETNS_TMP/decode.err" ||
    check_failed "tshark could not read the capture: $(cat "$NETNS_TMP/decode.err")"
request=$(head -n 1 "$NETNS_TMP/decoded")
[[ $request == "BOOTP|Boot Request from $UNIT_HW"*"|0.0.0.0|255.255.255.255|68|67|308|1|0x$xid|$UNIT_HW|"* ]] ||
    check_failed "the first packet is not the unit's request: $request"
# Wireshark reads the secs bytes 0x64 0x00 as a little-endian 100 seconds.
reply="BOOTP|Boot Reply|$admin_mac|$NETNS_ADMIN_ADDRESS|255.255.255.255|67|68|308|2|0x$xid|$UNIT_HW|$ip|99.130.83.99|$mask|$gateway||100"
tail -n +2 "$NETNS_TMP/decoded" >"$NETNS_TMP/decoded-replies"
expect_file "$NETNS_TMP/decoded-replies" "$(for n in 1 2 3 4 5; do echo "$reply"; done)"$'\n' "the decoded replies"

finish
