#!/bin/bash
# The probe against net-snmp's agent on the unit end: the agent answers the communities it is
# configured with and stays silent for any other, and every run's request reaches it from the
# admin end's port 10001, one run after another.
#     verify_snmpd.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@" snmpd

snmpd_start snmpd "$NETNS_UNIT" "$UNIT_IP" public abc123

# name | exit status | verdict | further arguments. The first two rows are two commands in a
# row, each with its own socket on port 10001.
requests=0
while read -r name status verdict arguments; do
    # shellcheck disable=SC2086
    cli_verify "$name" --ip "$UNIT_IP" $arguments
    expect_verify "$name" "$status" "${!verdict}" ""
    requests=$((requests + 1))
    expect_eq "$(grep -cF "$(snmpd_request_line "$UNIT_IP")" "$SNMPD_LOG")" "$requests" \
        "$name: requests from port 10001 that reached snmpd so far"
done <<'ROWS'
first        0 ACTIVE
second       0 ACTIVE
public       0 ACTIVE     --community public
own          0 ACTIVE     --community abc123
wrong        1 NOT_ACTIVE --community wrong1
upper-case   1 NOT_ACTIVE --community PUBLIC
ROWS

netns_stop "$SNMPD_PID"
finish
