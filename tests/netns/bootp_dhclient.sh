#!/usr/bin/env bash
# ISC dhclient as the unit takes the reply as a BOOTP lease and applies the address, the mask
# and the router; the host's resolver and host name stay as they were.
set -u
source "$(dirname "$0")/bootp_lib.sh" "$@"
source "$(dirname "$0")/dhclient_unit.sh"
netns_require dhclient unshare

# A mask other than the /24 that dhclient would guess for 192.0.2.50 without the option.
ip=192.0.2.50 mask=255.255.255.128 gateway=192.0.2.1
resolver_before=$(cat /etc/resolv.conf 2>/dev/null)
hostname_before=$(hostname)

cli_start dhclient --ip "$ip" --mask "$mask" --gateway "$gateway" --hw "$NETNS_UNIT_MAC"
dhclient_unit_start 60
cli_finish dhclient
expect_eq "$CLI_STATUS" 0 "exit status"
if dhclient_unit_await_bound 15; then
    expect_eq "$(ip -n "$NETNS_UNIT" -4 -o addr show dev "$NETNS_UNIT_IF" | awk '{print $4}')" "$ip/25" \
        "the unit's address"
    expect_eq "$(ip -n "$NETNS_UNIT" -4 route show default | sed "s/ *$//")" "default via $gateway dev $NETNS_UNIT_IF" \
        "the unit's default route"
    expect_eq "$(grep -m1 '^BOUND' "$DHCLIENT_LOG")" "BOUND ip=$ip mask=$mask routers=$gateway" \
        "what dhclient passed to its script"
else
    check_failed "dhclient never applied a lease: $(cat "$NETNS_TMP/dhclient/dhclient.out")"
fi
netns_stop "$DHCLIENT_PID"
expect_eq "$(cat /etc/resolv.conf 2>/dev/null)" "$resolver_before" "the host's /etc/resolv.conf"
expect_eq "$(hostname)" "$hostname_before" "the host name"

finish
