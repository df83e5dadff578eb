#!/usr/bin/env bash
# Try Wrenset against a simulated unit, as root on Debian 12: installs what is needed, builds into
# build/, then, inside two network namespaces made for this run (admin side and unit side, joined
# by a veth pair), lets ISC dhclient play the unit, gives it 192.0.2.50/24 with router 192.0.2.1
# through `wrenset-cli configure`, starts an SNMP agent at the unit's new address and checks it
# with `wrenset-cli verify`. No packet leaves the namespaces; everything is removed at the end,
# also when interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."

step() {
    printf '\n==> %s\n' "$*"
}

if [ "$(id -u)" -ne 0 ]; then
    echo "demo.sh: run as root (it installs packages and makes network namespaces)" >&2
    exit 1
fi

step "Installing the Debian packages the build and the demo need (scripts/setup.sh)"
bash scripts/setup.sh

step "Building into build/"
cmake -S . -B build
cmake --build build
cli="$PWD/build/cli/wrenset-cli"

source tests/netns/netns.sh
source tests/netns/dhclient_unit.sh
source tests/netns/snmpd_unit.sh
for command in ip dhclient unshare snmpd ss; do
    command -v "$command" >/dev/null || { echo "demo.sh: $command is missing" >&2; exit 1; }
done

unit_ip=192.0.2.50
step "Making the namespaces: admin side $NETNS_ADMIN_ADDRESS/24, unit side without an address"
netns_setup
echo "admin side: namespace $NETNS_ADMIN, interface $NETNS_ADMIN_IF"
echo "unit side:  namespace $NETNS_UNIT, interface $NETNS_UNIT_IF, hardware address $NETNS_UNIT_MAC"

step "Starting ISC dhclient as the unit; it broadcasts its BOOTP request every second or two"
dhclient_unit_start 120

step "Running: wrenset-cli configure --ip $unit_ip --mask 255.255.255.0 --gateway $NETNS_ADMIN_ADDRESS --hw $NETNS_UNIT_MAC"
# Run in the background and waited for, so that an interruption is handled at once.
configure_status=0
netns_start 120 "$NETNS_ADMIN" "$cli" configure --ip "$unit_ip" --mask 255.255.255.0 \
    --gateway "$NETNS_ADMIN_ADDRESS" --hw "$NETNS_UNIT_MAC"
netns_wait "$NETNS_PID" 125 || configure_status=$?
if [ "$configure_status" -ne 0 ]; then
    echo "demo.sh: wrenset-cli configure ended with status $configure_status" >&2
    exit 1
fi
if ! dhclient_unit_await_bound 15; then
    echo "demo.sh: the unit never applied the reply; dhclient said:" >&2
    cat "$NETNS_TMP/dhclient/dhclient.out" >&2
    exit 1
fi

step "The unit's interface now carries"
ip -n "$NETNS_UNIT" -4 addr show dev "$NETNS_UNIT_IF"
ip -n "$NETNS_UNIT" -4 route show

step "Starting net-snmp's snmpd on the unit, at udp:$unit_ip:161 only"
if ! snmpd_unit_start 120 "$unit_ip"; then
    echo "demo.sh: snmpd did not start; its log:" >&2
    cat "$SNMPD_LOG" >&2
    exit 1
fi

step "Running: wrenset-cli verify --ip $unit_ip"
verify_status=0
netns_start 30 "$NETNS_ADMIN" "$cli" verify --ip "$unit_ip"
netns_wait "$NETNS_PID" 35 || verify_status=$?

step "Removing the namespaces and everything started in them"
if [ "$verify_status" -ne 0 ]; then
    echo "demo.sh: wrenset-cli verify ended with status $verify_status" >&2
    exit 1
fi
echo "Done: the unit took $unit_ip from Wrenset and answers at it."
