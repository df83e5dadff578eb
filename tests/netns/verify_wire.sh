#!/bin/bash
# The probe as it crosses the wire, dissected by tshark on the unit end: one 44-byte SNMPv1
# GetRequest from port 10001 to port 161 for ifNumber.0 with community public, byte for byte,
# and the agent's answer to it.
#     verify_wire.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@" snmpd tshark dumpcap

snmpd_start snmpd "$NETNS_UNIT" "$UNIT_IP" public

capture="$NETNS_TMP/probe.pcapng"
# tshark's capturing part, which names its file once the interface is open and the filter set;
# it stops by itself after the request and the answer.
netns_start 30 "$NETNS_UNIT" dumpcap -q -i "$NETNS_UNIT_IF" -f "udp port 161" -c 2 -w "$capture" \
    >"$NETNS_TMP/dumpcap.out" 2>"$NETNS_TMP/dumpcap.err"
DUMPCAP_PID=$NETNS_PID
netns_await_text "$NETNS_TMP/dumpcap.err" "File: $capture" 20 || {
    cat "$NETNS_TMP/dumpcap.err" >&2
    netns_fail "dumpcap did not start capturing"
}

cli_verify probe --ip "$UNIT_IP"
expect_verify probe 0 "$ACTIVE" ""

expect_success "$DUMPCAP_PID" "dumpcap's exit status (it stops after two packets)"

fields=(ip.src udp.srcport ip.dst udp.dstport udp.length snmp.version snmp.community _ws.col.Info
        snmp.request_id snmp.error_status snmp.error_index snmp.name snmp.value.int udp.payload)
field_options=()
for field in "${fields[@]}"; do
    field_options+=(-e "$field")
done
tshark -r "$capture" -T fields -E 'separator=|' "${field_options[@]}" >"$NETNS_TMP/dissected" 2>"$NETNS_TMP/tshark.err"
request=$(sed -n 1p "$NETNS_TMP/dissected")
answer=$(sed -n 2p "$NETNS_TMP/dissected")

# The UDP length counts the 8-byte header before the 44 bytes.
expect_eq "$request" \
    "$NETNS_ADMIN_ADDRESS|10001|$UNIT_IP|161|52|0|public|get-request 1.3.6.1.2.1.2.1.0|1290612056|0|0|1.3.6.1.2.1.2.1.0|1|$(expected_probe)" \
    "the request as tshark dissects it"
# The agent's answer, whatever number of interfaces it names: the same request-id, no error,
# back to port 10001.
expect_eq "$(cut '-d|' -f1-12 <<<"$answer")" \
    "$UNIT_IP|161|$NETNS_ADMIN_ADDRESS|10001|52|0|public|get-response 1.3.6.1.2.1.2.1.0|1290612056|0|0|1.3.6.1.2.1.2.1.0" \
    "the agent's answer as tshark dissects it"

netns_stop "$SNMPD_PID"
finish
