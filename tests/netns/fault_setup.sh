#!/usr/bin/env bash
# Set-up failures that the kernel itself produces: sockets refused at the descriptor limit
# (EMFILE), for either command; and, with the admin namespace's unprivileged ports raised above
# 10001, the probe's bind as nobody refused (EACCES). Each run shows the step's message and the
# error's name, adds its hint where it has one, ends with exit status 1 and leaves no descriptor
# open. (Port 67 held or taken without privilege, port 10001 held and a probe target with no
# route have their own scripts.)
#     fault_setup.sh CLI PEER FD_AUDIT DESCRIPTOR_LIMIT
set -u
descriptor_limit_lib=$4
source "$(dirname "$0")/bootp_lib.sh" "$1" "$2" "$3"
[ -f "$descriptor_limit_lib" ] || netns_fail "no such file '$descriptor_limit_lib'"

# run_cli NAME PRELOAD CLI-ARGS...: wrenset-cli in the admin namespace as CLI_AS, with PRELOAD
# (or none) before the descriptor audit; sets CLI_STATUS.
run_cli() {
    local name=$1 preload=$2
    shift 2
    netns_start 30 "$NETNS_ADMIN" "${CLI_AS[@]}" env LD_PRELOAD="${preload:+$preload:}$WRENSET_FD_AUDIT_LIB" \
        WRENSET_FD_AUDIT="$AUDIT_DIR/$name" "$WRENSET_CLI" "$@" >"$NETNS_TMP/$name.out" 2>"$NETNS_TMP/$name.err"
    CLI_PID=$NETNS_PID
    cli_finish "$name"
}

configure=(configure --ip "$UNIT_IP" --mask "$UNIT_MASK" --gateway "$UNIT_GW" --hw "$UNIT_HW")
unit_address=192.0.2.2
ip netns exec "$NETNS_ADMIN" sysctl -q -w net.ipv4.ip_unprivileged_port_start=10002 ||
    netns_fail "cannot raise the admin namespace's unprivileged ports"
nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# name | run as nobody | preload | standard error ('/' between lines) | wrenset-cli arguments
cases=(
    "configure-at-limit|no|$descriptor_limit_lib|Invalid Socket returned/WSAEMFILE:|${configure[*]}"
    "verify-at-limit|no|$descriptor_limit_lib|Invalid Socket returned/WSAEMFILE:|verify --ip $unit_address"
    "verify-no-privilege|yes||Bind error/WSAEACCES:/wrenset-cli: binding UDP port 10001 needs root or the capability cap_net_bind_service|verify --ip $unit_address"
)

for row in "${cases[@]}"; do
    IFS='|' read -r name as_nobody preload messages arguments <<<"$row"
    CLI_AS=()
    [ "$as_nobody" = no ] || CLI_AS=("${nobody[@]}")
    # shellcheck disable=SC2086
    run_cli "$name" "$preload" $arguments
    CLI_AS=()
    expect_eq "$CLI_STATUS" 1 "$name: exit status"
    expect_file "$NETNS_TMP/$name.err" "${messages//\//$'\n'}"$'\n' "$name: standard error"
    expect_file "$NETNS_TMP/$name.out" "" "$name: standard output"
done

finish
