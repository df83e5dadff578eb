# bootp_lib.sh: what the configuration exchange's namespace tests share. Source it with the
# script's arguments:
#     source bootp_lib.sh CLI PEER FD_AUDIT [ROUTE]
# CLI is wrenset-cli, PEER wrenset-test-peer, FD_AUDIT the descriptor audit library; ROUTE goes
# to netns_setup. Every wrenset-cli run goes through cli_start or cli_run, which preload the
# audit, and cli_finish or cli_run then check that no descriptor was left open at exit. Setting
# the array CLI_AS (say, to a setpriv command line) runs wrenset-cli through it.
#
# The unit being configured, unless a test says otherwise:
UNIT_HW=0a:1b:2c:3d:4e:5f
UNIT_IP=192.0.2.50
UNIT_MASK=255.255.255.0
UNIT_GW=192.0.2.1

WRENSET_CLI=$1
WRENSET_PEER=$2
WRENSET_FD_AUDIT_LIB=$3
NETNS_ROUTE=${4:-unit}
for _file in "$WRENSET_CLI" "$WRENSET_PEER" "$WRENSET_FD_AUDIT_LIB"; do
    [ -f "$_file" ] || { echo "FAIL: no such file '$_file' (arguments: CLI PEER FD_AUDIT [ROUTE])" >&2; exit 1; }
done

source "$(dirname "${BASH_SOURCE[0]}")/netns.sh"
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
source "$(dirname "${BASH_SOURCE[0]}")/bootp_reply.sh"

CLI_AS=()

# cli_start NAME CONFIGURE-ARGS...
# Starts `wrenset-cli configure` in the admin namespace and returns once it waits for its first
# request. Output goes to $NETNS_TMP/NAME.out and NAME.err; sets CLI_PID.
cli_start() {
    local name=$1
    shift
    cli_launch 60 "$name" "$@"
    if ! netns_await_text "$NETNS_TMP/$name.err" "(attempt 1 of 101)" 10; then
        cat "$NETNS_TMP/$name.err" >&2
        netns_fail "$name: wrenset-cli never started waiting"
    fi
}

# cli_finish NAME: waits for the run that cli_start began; sets CLI_STATUS.
cli_finish() {
    local name=$1
    cli_wait "$name" "$CLI_PID" "$AUDIT_DIR/$name"
}

# cli_run NAME CONFIGURE-ARGS...: a run that ends by itself; sets CLI_STATUS.
cli_run() {
    local name=$1
    shift
    cli_launch 30 "$name" "$@"
    cli_finish "$name"
}

# cli_launch SECONDS NAME CONFIGURE-ARGS...: `wrenset-cli configure` in the admin namespace, with
# the audit preloaded, ended after SECONDS at the latest; sets CLI_PID.
cli_launch() {
    local seconds=$1 name=$2
    shift 2
    netns_start "$seconds" "$NETNS_ADMIN" "${CLI_AS[@]}" env LD_PRELOAD="$WRENSET_FD_AUDIT_LIB" \
        WRENSET_FD_AUDIT="$AUDIT_DIR/$name" "$WRENSET_CLI" configure "$@" >"$NETNS_TMP/$name.out" 2>"$NETNS_TMP/$name.err"
    CLI_PID=$NETNS_PID
}

# peer NAME [--namespace NS --device IFACE] BOOTP-ARGS...
# Runs the test peer's bootp mode on the unit end (or on IFACE in NS) until it is done; what it
# captured goes to $NETNS_TMP/NAME.replies.
peer() {
    peer_place "$@"
    shift "$PEER_SHIFT"
    timeout 130 ip netns exec "$PEER_NAMESPACE" "$WRENSET_PEER" bootp --device "$PEER_DEVICE" "$@" \
        >"$NETNS_TMP/$PEER_NAME.replies" 2>>"$NETNS_TMP/peer.err"
}

# peer_start NAME [--namespace NS --device IFACE] BOOTP-ARGS...
# The same in the background: returns once the requests are sent and the peer listens; sets
# PEER_PID for netns_wait.
peer_start() {
    peer_place "$@"
    shift "$PEER_SHIFT"
    netns_start 130 "$PEER_NAMESPACE" "$WRENSET_PEER" bootp --device "$PEER_DEVICE" "$@" \
        >"$NETNS_TMP/$PEER_NAME.replies" 2>"$NETNS_TMP/$PEER_NAME.peer-err"
    PEER_PID=$NETNS_PID
    netns_await_text "$NETNS_TMP/$PEER_NAME.peer-err" "request(s) of" 130 ||
        netns_fail "$PEER_NAME: the peer never got its requests out: $(cat "$NETNS_TMP/$PEER_NAME.peer-err")"
}

peer_place() {
    PEER_NAME=$1 PEER_NAMESPACE=$NETNS_UNIT PEER_DEVICE=$NETNS_UNIT_IF PEER_SHIFT=1
    if [ "${2:-}" = --namespace ]; then
        PEER_NAMESPACE=$3 PEER_DEVICE=$5 PEER_SHIFT=5
    fi
}

# The progress lines of a run that answered after ATTEMPTS attempts on the unit link.
answered_progress() {
    local attempts=$1 hw=${2^^} n
    for ((n = 1; n <= attempts; n++)); do
        echo "Waiting for the BOOTP request of $hw on UDP port 67 (attempt $n of 101)"
    done
    echo "Reply sent to 255.255.255.255 port 68 via $NETNS_ADMIN_IF: 5 of 5 sends went out"
}

netns_require
netns_setup "$NETNS_ROUTE"
# The audit files are written by wrenset-cli, which some tests run as another user.
AUDIT_DIR=$NETNS_TMP/audit
chmod 711 "$NETNS_TMP"
mkdir -m 1777 "$AUDIT_DIR"
