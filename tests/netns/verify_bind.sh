#!/bin/bash
# Port 10001 held by another program on the admin side: the probe reports "Bind error" and the
# error's name ("Unrecognized Error": Windows Sockets' table has no name for WSAEADDRINUSE),
# wrenset-cli adds its hint, and the command ends there, with no verdict and nothing sent. The
# failed step closes its own socket, before the command goes on to print the hint, as the
# desktop program, whose unit state outlives the command, needs it to. Once the port is free
# again the same command finds the unit active.
#     verify_bind.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@" strace

# The calls on the probe's socket and the lines written to standard error, in their order.
socket_story() {
    awk '
        /^socket\(AF_INET, SOCK_DGRAM/ { fd = $NF; print "socket"; next }
        fd != "" && index($0, "bind(" fd ",") == 1 {
            port = $0; sub(/.*sin_port=htons\(/, "", port); sub(/\).*/, "", port)
            result = $0; sub(/.*\) = /, "", result); sub(/ \(.*/, "", result)
            print "bind " port " " result; next
        }
        fd != "" && index($0, "close(" fd ")") == 1 { print "close socket"; fd = ""; next }
        /^write\(2, "/ {
            text = $0; sub(/^write\(2, "/, "", text); sub(/\\n", [0-9]+\).*/, "", text)
            print "stderr " text
        }
    ' "$1"
}

answerer_start unit-answerer --error-response --lifetime-ms 30000
netns_start 60 "$NETNS_ADMIN" "$WRENSET_PEER" hold --port 10001 --seconds 60 >"$NETNS_TMP/hold.out" \
    2>"$NETNS_TMP/hold.err"
HOLD_PID=$NETNS_PID
netns_await_text "$NETNS_TMP/hold.out" "holding UDP port 10001" 10 || netns_fail "the port holder did not start"

cli_verify held --strace --ip "$UNIT_IP"
hint="wrenset-cli: another program holds UDP port 10001"
expect_verify held 1 "" "Bind error"$'\n'"Unrecognized Error"$'\n'"$hint"
expect_file <(socket_story "$NETNS_TMP/held.trace") "$(printf '%s\n' socket "bind 10001 -1 EADDRINUSE" \
    "stderr Bind error" "stderr Unrecognized Error" "close socket" "stderr $hint")"$'\n' \
    "held: the probe socket's calls and the messages, in order"

netns_stop "$HOLD_PID"
cli_verify free --ip "$UNIT_IP"
expect_verify free 0 "$ACTIVE" ""
expect_success "$ANSWERER_PID" "the answerer's exit status"
expect_file <(grep '^request' "$NETNS_TMP/unit-answerer.peer") "$(answerer_request_line 1)"$'\n' \
    "what reached the unit end: only the request of the run with the port free"
finish
