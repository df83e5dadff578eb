#!/bin/bash
# Usage errors of `wrenset-cli verify`: a community that is not exactly six ASCII characters, or
# no address. Each ends with exit status 2, the problem and the usage text on standard error,
# nothing on standard output, and no request on the wire: our answerer on the unit end, which
# would answer any request, sees none.
#     verify_usage.sh CLI PEER ANSWERER FD_AUDIT
set -u
source "$(dirname "$0")/verify_lib.sh" "$@"

usage=$("$WRENSET_CLI" --help)
community_problem="wrenset-cli: the community must be exactly six printable ASCII characters"

answerer_start unit-answerer --error-response --lifetime-ms 30000

# name | what is wrong | the community, with \x escapes (fields apart by tabs).
while IFS=$'\t' read -r name problem community; do
    if [ "$problem" = community ]; then
        cli_verify "$name" --ip "$UNIT_IP" --community "$(printf '%b' "$community")"
        expect_verify "$name" 2 "" "$community_problem"$'\n'"$usage"
    else
        cli_verify "$name"
        expect_verify "$name" 2 "" "wrenset-cli: verify needs --ip"$'\n'"$usage"
    fi
done <<'ROWS'
empty	community	
five	community	publi
seven	community	publics
six-bytes-not-ascii	community	publ\xc3\xa9
six-characters-not-ascii	community	caf\xc3\xa9s!
no-address	address	
ROWS

netns_stop "$ANSWERER_PID"
expect_file "$NETNS_TMP/unit-answerer.peer" "ready"$'\n' "what reached the unit end"
finish
