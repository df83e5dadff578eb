#!/bin/bash
# What counts as the unit's answer: a table of answers from our own peer on the unit end, each
# checked against the verdict it must give and against what the peer saw and sent, so that a
# "not Active" is never only a lost request. Any datagram of 1 to 300 bytes that has arrived by
# the poll counts, an SNMP error response included; an empty one, an over-long one, or one that
# comes after the two-second pause does not.
#     verify_answers.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@"

# The answerer's error response to the probe: the request with GetResponse-PDU and noSuchName.
error_response() {
    expected_probe | sed -e 's/^\(.\{26\}\)a01d/\1a21d/' -e 's/020100020100300f/020102020101300f/'
}

# The answerer's line for answer 1 of LENGTH bytes given as HEX.
answer_line() {
    echo "answer 1 length $1 $2"
}

filler() {
    head -c "$1" /dev/zero | tr '\0' 'Z' | xxd -p | tr -d '\n'
}

# name | verdict | answerer arguments; "-" runs no answerer: nothing listens on port 161.
while read -r name verdict arguments; do
    if [ "$arguments" != - ]; then
        # shellcheck disable=SC2086
        answerer_start "$name" $arguments
    fi
    cli_verify "$name" --ip "$UNIT_IP"
    expect_verify "$name" "$([ "$verdict" = ACTIVE ] && echo 0 || echo 1)" "${!verdict}" ""
    [ "$arguments" != - ] || continue

    # The peer answers its one request, even a late one, before the next row begins.
    expect_success "$ANSWERER_PID" "$name: the answerer's exit status"
    expected="ready"$'\n'"$(answerer_request_line 1)"$'\n'
    # shellcheck disable=SC2086
    set -- $arguments
    while [ "$#" -gt 0 ]; do
        case $1 in
            --error-response) expected+="$(answer_line 44 "$(error_response)")"$'\n' ;;
            --empty) expected+="$(answer_line 0 "")"$'\n' ;;
            --bytes) expected+="$(answer_line "$2" "$(filler "$2")")"$'\n'; shift ;;
            --delay-ms) shift ;;
        esac
        shift
    done
    expect_file "$NETNS_TMP/$name.peer" "$expected" "$name: what the answerer saw and sent"
done <<'ROWS'
nothing-listens   NOT_ACTIVE -
error-response    ACTIVE     --error-response
one-byte          ACTIVE     --bytes 1
300-bytes         ACTIVE     --bytes 300
301-bytes         NOT_ACTIVE --bytes 301
1400-bytes        NOT_ACTIVE --bytes 1400
empty             NOT_ACTIVE --empty
empty-then-error  ACTIVE     --empty --error-response
long-then-short   ACTIVE     --bytes 301 --bytes 1
late              NOT_ACTIVE --error-response --delay-ms 2500
ROWS

finish
