#!/bin/bash
# A send that the kernel itself refuses: with no route to the unit's address, sendto fails with
# ENETUNREACH, which the probe reports as "sendto failure" and "WSAENETUNREACH:", and the command
# ends there, its socket closed.
#     verify_no_route.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@"

ip -n "$NETNS_ADMIN" route del default
cli_verify no-route --ip 198.51.100.7
expect_verify no-route 1 "" "sendto failure"$'\n'"WSAENETUNREACH:"
finish
