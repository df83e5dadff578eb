#!/usr/bin/env bash
# The packaged wrenset-cli, unpacked (not installed) and given its owner, mode and capability by
# the package's own post-install step, configures a unit for an unprivileged member of the group
# wrenset: it runs as nobody with cap_net_bind_service alone, binds UDP port 67 in a fresh
# namespace (where ports below 1024 need that capability) and answers the test peer's request.
# Once the pre-removal step has taken the capability off, the same run gets "Bind error", then
# "WSAEACCES:", then the command-line front's hint.
#     capability_netns_test.sh CLI PEER FD_AUDIT BUILD_DIR
set -u
build_dir=$4
source "$(dirname "$0")/packaging_lib.sh"
source "$(dirname "$0")/../netns/bootp_lib.sh" "$1" "$2" "$3"
netns_require setpriv unshare getcap findmnt dpkg-deb cpack

pkg_configured_package "$build_dir"
packaged_cli="$PKG_ROOT/usr/bin/wrenset-cli"
expect_eq "$(getcap "$packaged_cli" | awk '{ print $2 }')" cap_net_bind_service=ep "the packaged program's capability"
expect_eq "$(ip netns exec "$NETNS_ADMIN" cat /proc/sys/net/ipv4/ip_unprivileged_port_start)" 1024 \
    "the first unprivileged port in the admin namespace"

member=(setpriv --reuid=nobody --regid=nogroup --groups="$PKG_GID")
configure=(--ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW")

# packaged_start NAME: starts the packaged program's configure as a member of the group. The
# descriptor audit of the other namespace tests is left out: the kernel runs a program with a
# file capability in secure-execution mode, in which the loader ignores LD_PRELOAD.
packaged_start() {
    netns_start 60 "$NETNS_ADMIN" "${member[@]}" "$packaged_cli" configure "${configure[@]}" \
        >"$NETNS_TMP/$1.out" 2>"$NETNS_TMP/$1.err"
    CLI_PID=$NETNS_PID
}

packaged_finish() {
    CLI_STATUS=0
    netns_wait "$CLI_PID" 30 || CLI_STATUS=$?
}

# The credentials of the running program: timeout's one child, which ip netns exec and setpriv
# have become by exec.
running_credentials() {
    local child
    child=$(cat "/proc/$CLI_PID/task/$CLI_PID/children" 2>/dev/null | awk '{ print $1 }')
    [ -n "$child" ] || return 1
    awk '/^Uid:/ { uid = $2 " " $3 } /^Gid:/ { gid = $2 } /^Groups:/ { groups = $2 } /^CapEff:/ { cap = $2 }
         END { print "uid " uid " gid " gid " groups " groups " effective " cap }' "/proc/$child/status"
}

packaged_start member
if ! netns_await_text "$NETNS_TMP/member.err" "(attempt 1 of 101)" 10; then
    cat "$NETNS_TMP/member.err" >&2
    netns_fail "the packaged wrenset-cli never started waiting"
fi
# nobody's real and effective ids, the group, and of all capabilities only cap_net_bind_service.
expect_eq "$(running_credentials)" "uid 65534 65534 gid 65534 groups $PKG_GID effective 0000000000000400" \
    "the running program's credentials"
peer member --hw "$UNIT_HW" --xid 5afe0067 --wait-ms 2000
packaged_finish
expect_eq "$CLI_STATUS" 0 "with the capability: exit status"
expect_file "$NETNS_TMP/member.replies" \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 5afe0067 "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "with the capability: replies"
expect_file "$NETNS_TMP/member.err" "$(answered_progress 1 "$UNIT_HW")"$'\n' "with the capability: standard error"
expect_file "$NETNS_TMP/member.out" "" "with the capability: standard output"

pkg_packaged_step prerm remove
expect_eq "$(getcap "$packaged_cli")" "" "the capability after prerm remove"
packaged_start without
packaged_finish
expect_eq "$CLI_STATUS" 1 "without the capability: exit status"
expect_file "$NETNS_TMP/without.err" "Bind error
WSAEACCES:
wrenset-cli: binding UDP port 67 needs root or the capability cap_net_bind_service
" "without the capability: standard error"
expect_file "$NETNS_TMP/without.out" "" "without the capability: standard output"

finish
