# verify_lib.sh: what the status probe's namespace tests share. Source it with the script's
# arguments:
#     source verify_lib.sh CLI PEER ANSWERER FD_AUDIT [COMMAND...]
# CLI is wrenset-cli, PEER wrenset-test-peer, ANSWERER wrenset-snmp-answerer, FD_AUDIT the
# descriptor audit library; each COMMAND must be on the PATH or the test skips. It sets up the
# namespace pair and gives the unit end $UNIT_IP. Every wrenset-cli run goes through cli_verify,
# which preloads the audit and then checks that no descriptor was left open at exit.

UNIT_IP=192.0.2.2
ACTIVE="The Unit is Active"
NOT_ACTIVE="The Unit is not Active"

WRENSET_CLI=$1
WRENSET_PEER=$2
WRENSET_ANSWERER=$3
WRENSET_FD_AUDIT_LIB=$4
shift 4
for _file in "$WRENSET_CLI" "$WRENSET_PEER" "$WRENSET_ANSWERER" "$WRENSET_FD_AUDIT_LIB"; do
    [ -f "$_file" ] || { echo "FAIL: no such file '$_file' (arguments: CLI PEER ANSWERER FD_AUDIT)" >&2; exit 1; }
done

source "$(dirname "${BASH_SOURCE[0]}")/netns.sh"
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# cli_verify NAME [--namespace NS] [--strace] VERIFY-ARGS...: runs `wrenset-cli verify` in the
# admin namespace (or NS) to its end; output goes to $NETNS_TMP/NAME.out and NAME.err. With
# --strace it runs under strace, which writes its socket, bind, close and write calls to
# $NETNS_TMP/NAME.trace. Sets CLI_STATUS.
cli_verify() {
    local name=$1 namespace=$NETNS_ADMIN
    shift
    if [ "${1:-}" = --namespace ]; then
        namespace=$2
        shift 2
    fi
    local audit="$NETNS_TMP/$name.fd"
    local run=(env LD_PRELOAD="$WRENSET_FD_AUDIT_LIB" WRENSET_FD_AUDIT="$audit" "$WRENSET_CLI")
    if [ "${1:-}" = --strace ]; then
        shift
        # The audit goes into wrenset-cli only, not into strace. In the sanitizer build the leak
        # check stays off under strace, as LeakSanitizer cannot run under ptrace.
        run=(strace -qq -s 256 -o "$NETNS_TMP/$name.trace" -e trace=socket,bind,close,write
             -E LD_PRELOAD="$WRENSET_FD_AUDIT_LIB" -E WRENSET_FD_AUDIT="$audit"
             -E ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" "$WRENSET_CLI")
    fi
    netns_start 30 "$namespace" "${run[@]}" verify "$@" >"$NETNS_TMP/$name.out" 2>"$NETNS_TMP/$name.err"
    cli_wait "$name" "$NETNS_PID" "$audit"
}

# expect_verify NAME STATUS STDOUT STDERR: the run's exit status and its exact output; STDOUT
# and STDERR are lines joined by newlines, each stream ending in a newline unless it is empty.
expect_verify() {
    local name=$1 out=$3 err=$4
    expect_eq "$CLI_STATUS" "$2" "$name: exit status"
    expect_file "$NETNS_TMP/$name.out" "${out:+$out$'\n'}" "$name: standard output"
    expect_file "$NETNS_TMP/$name.err" "${err:+$err$'\n'}" "$name: standard error"
}

# expect_success PID WHAT: waits at most 10 s for a process that netns_start started; a failed
# check, WHAT being its exit status, unless that is 0.
expect_success() {
    local status=0
    netns_wait "$1" 10 || status=$?
    expect_eq "$status" 0 "$2"
}

# snmpd_start NAME NAMESPACE ADDRESS COMMUNITY...: net-snmp's agent on ADDRESS:161 in NAMESPACE,
# answering reads with each COMMUNITY, from its own configuration, pid file, log and persistent
# folder only. Returns once it listens; sets SNMPD_PID, and SNMPD_LOG, in which the agent notes
# each request as "Connection from UDP: [A]:P->[A]:161".
snmpd_start() {
    local name=$1 namespace=$2 address=$3 community
    shift 3
    local conf="$NETNS_TMP/$name.conf"
    SNMPD_LOG="$NETNS_TMP/$name.log"
    {
        echo "agentaddress udp:$address:161"
        for community in "$@"; do
            echo "rocommunity $community"
        done
    } >"$conf"
    netns_start 120 "$namespace" env SNMP_PERSISTENT_DIR="$NETNS_TMP/$name.persistent" \
        snmpd -f -C -c "$conf" -p "$NETNS_TMP/$name.pid" -Lf "$SNMPD_LOG" >"$NETNS_TMP/$name.stdio" 2>&1
    SNMPD_PID=$NETNS_PID
    # The agent names its version once its ports are open.
    netns_await_text "$SNMPD_LOG" "NET-SNMP version" 20 || {
        tail -n 5 "$SNMPD_LOG" >&2
        netns_fail "$name: snmpd did not start on $address"
    }
}

# The agent's note of one request from the admin end's port 10001.
snmpd_request_line() {
    echo "Connection from UDP: [$NETNS_ADMIN_ADDRESS]:10001->[$1]:161"
}

# answerer_start NAME ANSWERER-ARGS...: the SNMP answerer on the unit end; its lines go to
# $NETNS_TMP/NAME.peer. Returns once it listens; sets ANSWERER_PID.
answerer_start() {
    local name=$1
    shift
    netns_start 60 "$NETNS_UNIT" "$WRENSET_ANSWERER" --device "$NETNS_UNIT_IF" "$@" >"$NETNS_TMP/$name.peer" \
        2>>"$NETNS_TMP/answerer.err"
    ANSWERER_PID=$NETNS_PID
    netns_await_text "$NETNS_TMP/$name.peer" ready 10 || {
        cat "$NETNS_TMP/answerer.err" >&2
        netns_fail "$name: the answerer did not start"
    }
}

# The probe the admin end sends with community public, as lower-case hex, field by field.
expected_probe() {
    printf '%s' "302a"                                   #  0 SEQUENCE, 42
    printf '%s' "020100"                                 #  2 version 0: SNMPv1
    printf '%s' "0406" "7075626c6963"                    #  5 community, 6 octets: public
    printf '%s' "a01d"                                   # 13 GetRequest-PDU, 29
    printf '%s' "02044ced2d58"                           # 15 request-id
    printf '%s' "020100" "020100"                        # 21 error-status, 24 error-index
    printf '%s' "300f" "300d"                            # 27 bindings, 29 one binding
    printf '%s' "06082b06010201020100"                   # 31 ifNumber.0
    printf '%s' "020101"                                 # 41 INTEGER 1
}

# The answerer's line for request N of the admin end's probe.
answerer_request_line() {
    echo "request $1 from $NETNS_ADMIN_ADDRESS:10001 to $UNIT_IP:161 on $NETNS_UNIT_IF length 44 $(expected_probe)"
}

netns_require xxd "$@"
netns_setup
netns_unit_address "$UNIT_IP/24"
