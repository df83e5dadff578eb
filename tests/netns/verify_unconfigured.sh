#!/bin/bash
# Verify before any configuration and at the all-ones address. Linux would deliver a datagram
# to 0.0.0.0 to this host itself, where an agent answering "public" on the loopback would make
# the probe report the unit active, and would send one to all ones to every host on the link.
# Here an snmpd answers on the admin side's own 127.0.0.1:161 and our answerer listens on the
# unit end: the probe to 0.0.0.0 (also written "0") is refused with "sendto failure" and
# "WSAEADDRNOTAVAIL:", and 255.255.255.255 never gets that far, since wrenset-cli's address
# conversion rejects it as the dialog does; neither agent sees a request.
#     verify_unconfigured.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@" snmpd

snmpd_start loopback-snmpd "$NETNS_ADMIN" 127.0.0.1 public
answerer_start unit-answerer --error-response --lifetime-ms 30000

# The control: the loopback agent does answer a probe addressed to it.
cli_verify loopback --ip 127.0.0.1
expect_verify loopback 0 "$ACTIVE" ""

# name | exit status | --ip | standard error
while IFS='|' read -r name status address errors; do
    cli_verify "$name" --ip "$address"
    expect_verify "$name" "$status" "" "$(printf '%b' "$errors")"
done <<'ROWS'
zero|1|0.0.0.0|sendto failure\nWSAEADDRNOTAVAIL:
zero-short-form|1|0|sendto failure\nWSAEADDRNOTAVAIL:
all-ones|2|255.255.255.255|Invalid IP Address
ROWS

expect_eq "$(grep -c "^Connection from" "$SNMPD_LOG")" 1 "requests that reached the loopback agent (the control's only)"
netns_stop "$ANSWERER_PID"
expect_file "$NETNS_TMP/unit-answerer.peer" "ready"$'\n' "what reached the unit end"
netns_stop "$SNMPD_PID"
finish
