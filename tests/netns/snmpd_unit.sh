# snmpd_unit.sh: net-snmp's snmpd as the unit's agent, on the unit side of a pair made by
# netns.sh. Source it after netns_setup.
#
#   snmpd_unit_start SECONDS ADDRESS [COMMUNITY]
#       Starts snmpd in $NETNS_UNIT under `timeout SECONDS`, listening on udp:ADDRESS:161 only and
#       answering the read community COMMUNITY (public). It reads no configuration but its own
#       and keeps its pid file, log and persistent files in $NETNS_TMP/snmpd. Returns once the
#       agent listens, 1 if it never does. Sets SNMPD_PID; its log is $SNMPD_LOG.

snmpd_unit_start() {
    local seconds=$1 address=$2 community=${3:-public} dir="$NETNS_TMP/snmpd"
    mkdir -p "$dir/persistent"
    SNMPD_LOG="$dir/snmpd.log"
    printf 'rocommunity %s\n' "$community" >"$dir/snmpd.conf"
    netns_start "$seconds" "$NETNS_UNIT" env SNMP_PERSISTENT_DIR="$dir/persistent" MIBS= \
        "$(command -v snmpd)" -f -C -c "$dir/snmpd.conf" -p "$dir/snmpd.pid" -Lf "$SNMPD_LOG" \
        "udp:$address:161" >"$dir/snmpd.out" 2>&1
    SNMPD_PID=$NETNS_PID
    local left=200
    until ip netns exec "$NETNS_UNIT" ss -H -uln "src $address:161" 2>/dev/null | grep -q .; do
        if [ "$left" -eq 0 ] || ! netns_running "$SNMPD_PID"; then
            return 1
        fi
        sleep 0.05
        left=$((left - 1))
    done
}
