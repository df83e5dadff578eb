# netns.sh: network namespaces for tests and the demo. Source it from bash; it sets nothing
# running until netns_setup is called.
#
#   netns_require [COMMAND...]
#       Skips the script (exit 77) unless it runs as root, `ip netns` works and every COMMAND is
#       on the PATH. With the environment variable CI set, it fails (exit 1) instead of skipping.
#
#   netns_setup [ROUTE]
#       Creates the admin namespace (where Wrenset runs) and the unit namespace (where the peers
#       run), joined by a veth pair: the admin end carries 192.0.2.1/24, the unit end no address;
#       lo is up in both. ROUTE says where the admin side's default route leads:
#         unit    (the default) via 192.0.2.254 out of the unit link, as on a host with one network;
#         uplink  via 198.51.100.2 out of a second interface, a veth to a third namespace (the
#                 uplink), the admin end carrying 198.51.100.1/24 and the uplink end 198.51.100.2/24;
#         none    no default route at all.
#       Installs a trap on EXIT, INT and TERM that ends every process started through netns_start
#       (and any other process left inside the namespaces, which only this run can have started),
#       deletes the namespaces and removes $NETNS_TMP. Call it once per script.
#
#   Exported after netns_setup:
#       NETNS_ADMIN, NETNS_UNIT          namespace names, unique to the run
#       NETNS_ADMIN_IF, NETNS_UNIT_IF    the veth ends (in the admin and in the unit namespace)
#       NETNS_UNIT_MAC                   the unit end's hardware address, lower case with colons
#       NETNS_ADMIN_ADDRESS              192.0.2.1
#       NETNS_UPLINK, NETNS_ADMIN_UPLINK_IF, NETNS_UPLINK_IF
#                                        the third namespace and its veth ends (ROUTE uplink only)
#       NETNS_TMP                        a private temporary folder, removed at exit
#
#   netns_unit_address [ADDRESS/PREFIX]
#       Gives the unit end an address (192.0.2.2/24 unless given).
#
#   netns_start SECONDS NAMESPACE COMMAND [ARG...]
#       Starts COMMAND in the background inside NAMESPACE under `timeout SECONDS`, so that it
#       ends by itself; redirect the call to capture its output. Sets NETNS_PID; the process is
#       ended at exit if still running.
#
#   netns_wait PID SECONDS
#       Waits at most SECONDS for a process started by netns_start; returns its exit status, or
#       124 after ending it when the time is up.
#
#   netns_stop PID
#       Ends a process started by netns_start (TERM, then KILL) and reaps it.
#
#   netns_await_text FILE TEXT SECONDS
#       Waits at most SECONDS until FILE holds the fixed string TEXT; returns 1 if it never does.
#
#   netns_fail MESSAGE
#       Prints "FAIL: MESSAGE" on standard error and exits 1 (the trap still cleans up).

NETNS_SKIP_CODE=77
NETNS_ADMIN_ADDRESS=192.0.2.1
NETNS_PIDS=()
NETNS_NAMES=()

netns_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

netns_skip() {
    if [ -n "${CI:-}" ]; then
        netns_fail "$* (CI is set, so this does not skip)"
    fi
    echo "SKIP: $*" >&2
    exit "$NETNS_SKIP_CODE"
}

netns_require() {
    [ "$(id -u)" -eq 0 ] || netns_skip "needs root for network namespaces"
    command -v ip >/dev/null 2>&1 || netns_skip "needs ip (iproute2)"
    command -v timeout >/dev/null 2>&1 || netns_skip "needs timeout (coreutils)"
    local command
    for command in "$@"; do
        command -v "$command" >/dev/null 2>&1 || netns_skip "needs $command"
    done
    local probe="wrenset-probe-$$-$RANDOM"
    ip netns add "$probe" 2>/dev/null || netns_skip "ip netns add does not work here"
    ip netns delete "$probe"
}

netns_cleanup() {
    local status=$?
    set +e
    trap - EXIT
    trap "" INT TERM
    local pid name
    for pid in "${NETNS_PIDS[@]}"; do
        kill -TERM "$pid" 2>/dev/null
    done
    for name in "${NETNS_NAMES[@]}"; do
        for pid in $(ip netns pids "$name" 2>/dev/null); do
            kill -TERM "$pid" 2>/dev/null
        done
    done
    for pid in "${NETNS_PIDS[@]}"; do
        netns_reap "$pid" 5
    done
    for name in "${NETNS_NAMES[@]}"; do
        for pid in $(ip netns pids "$name" 2>/dev/null); do
            kill -KILL "$pid" 2>/dev/null
        done
        ip netns delete "$name" 2>/dev/null
    done
    if [ -n "${NETNS_TMP:-}" ] && [ -d "$NETNS_TMP" ]; then
        rm -rf -- "$NETNS_TMP"
    fi
    exit "$status"
}

netns_on_signal() {
    echo "interrupted: cleaning up" >&2
    exit "$1"
}

# True while PID runs; a process that has ended but is not yet reaped counts as ended.
netns_running() {
    [ -r "/proc/$1/status" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

# Waits up to SECONDS for PID to end, kills it if it has not, and reaps it.
netns_reap() {
    local pid=$1 left=$(($2 * 20))
    while netns_running "$pid" && [ "$left" -gt 0 ]; do
        sleep 0.05
        left=$((left - 1))
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

netns_forget_pid() {
    local pid=$1 kept=() p
    for p in "${NETNS_PIDS[@]}"; do
        [ "$p" = "$pid" ] || kept+=("$p")
    done
    NETNS_PIDS=("${kept[@]}")
}

netns_setup() {
    local route=${1:-unit}
    case $route in
        unit | uplink | none) ;;
        *) netns_fail "netns_setup: unknown route '$route' (unit, uplink or none)" ;;
    esac
    local run
    run="$$-$(printf "%04x" "$RANDOM")"
    NETNS_ADMIN="wrenset-admin-$run"
    NETNS_UNIT="wrenset-unit-$run"
    NETNS_ADMIN_IF=wadmin0
    NETNS_UNIT_IF=wunit0
    NETNS_TMP=$(mktemp -d "/tmp/wrenset-netns-$run.XXXXXX")
    trap netns_cleanup EXIT
    trap 'netns_on_signal 130' INT
    trap 'netns_on_signal 143' TERM

    NETNS_NAMES+=("$NETNS_ADMIN")
    ip netns add "$NETNS_ADMIN" || netns_fail "cannot add namespace $NETNS_ADMIN"
    NETNS_NAMES+=("$NETNS_UNIT")
    ip netns add "$NETNS_UNIT" || netns_fail "cannot add namespace $NETNS_UNIT"
    # The pair is made inside the admin namespace, so no name of it ever exists on the host.
    ip -n "$NETNS_ADMIN" link add "$NETNS_ADMIN_IF" type veth peer name "$NETNS_UNIT_IF" netns "$NETNS_UNIT" ||
        netns_fail "cannot add the veth pair"
    ip -n "$NETNS_ADMIN" link set lo up
    ip -n "$NETNS_UNIT" link set lo up
    ip -n "$NETNS_ADMIN" addr add "$NETNS_ADMIN_ADDRESS/24" dev "$NETNS_ADMIN_IF"
    ip -n "$NETNS_ADMIN" link set "$NETNS_ADMIN_IF" up
    ip -n "$NETNS_UNIT" link set "$NETNS_UNIT_IF" up
    NETNS_UNIT_MAC=$(ip -n "$NETNS_UNIT" -o link show dev "$NETNS_UNIT_IF" | sed -n 's/.*link\/ether \([0-9a-f:]*\).*/\1/p')
    [ -n "$NETNS_UNIT_MAC" ] || netns_fail "cannot read the unit end's hardware address"

    case $route in
        unit)
            ip -n "$NETNS_ADMIN" route add default via 192.0.2.254 dev "$NETNS_ADMIN_IF"
            ;;
        uplink)
            NETNS_UPLINK="wrenset-uplink-$run"
            NETNS_ADMIN_UPLINK_IF=wuplink0
            NETNS_UPLINK_IF=wuplink1
            NETNS_NAMES+=("$NETNS_UPLINK")
            ip netns add "$NETNS_UPLINK" || netns_fail "cannot add namespace $NETNS_UPLINK"
            ip -n "$NETNS_ADMIN" link add "$NETNS_ADMIN_UPLINK_IF" type veth peer name "$NETNS_UPLINK_IF" \
                netns "$NETNS_UPLINK" || netns_fail "cannot add the uplink veth pair"
            ip -n "$NETNS_UPLINK" link set lo up
            ip -n "$NETNS_ADMIN" addr add 198.51.100.1/24 dev "$NETNS_ADMIN_UPLINK_IF"
            ip -n "$NETNS_UPLINK" addr add 198.51.100.2/24 dev "$NETNS_UPLINK_IF"
            ip -n "$NETNS_ADMIN" link set "$NETNS_ADMIN_UPLINK_IF" up
            ip -n "$NETNS_UPLINK" link set "$NETNS_UPLINK_IF" up
            ip -n "$NETNS_ADMIN" route add default via 198.51.100.2 dev "$NETNS_ADMIN_UPLINK_IF"
            export NETNS_UPLINK NETNS_ADMIN_UPLINK_IF NETNS_UPLINK_IF
            ;;
        none) ;;
    esac
    export NETNS_ADMIN NETNS_UNIT NETNS_ADMIN_IF NETNS_UNIT_IF NETNS_UNIT_MAC NETNS_ADMIN_ADDRESS NETNS_TMP
}

netns_unit_address() {
    ip -n "$NETNS_UNIT" addr add "${1:-192.0.2.2/24}" dev "$NETNS_UNIT_IF"
}

netns_start() {
    local seconds=$1 namespace=$2
    shift 2
    timeout --kill-after=5 "$seconds" ip netns exec "$namespace" "$@" &
    NETNS_PID=$!
    NETNS_PIDS+=("$NETNS_PID")
}

netns_wait() {
    local pid=$1 left=$(($2 * 20))
    while netns_running "$pid"; do
        if [ "$left" -eq 0 ]; then
            kill -TERM "$pid" 2>/dev/null || true
            netns_reap "$pid" 5
            netns_forget_pid "$pid"
            return 124
        fi
        sleep 0.05
        left=$((left - 1))
    done
    local status=0
    wait "$pid" || status=$?
    netns_forget_pid "$pid"
    return "$status"
}

netns_stop() {
    kill -TERM "$1" 2>/dev/null || true
    netns_reap "$1" 5
    netns_forget_pid "$1"
}

netns_await_text() {
    local file=$1 text=$2 left=$(($3 * 20))
    until grep -qF -- "$text" "$file" 2>/dev/null; do
        [ "$left" -gt 0 ] || return 1
        sleep 0.05
        left=$((left - 1))
    done
}
