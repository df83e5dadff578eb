# dhclient_unit.sh: ISC dhclient as the unit, on the unit end of a pair made by netns.sh. Source
# it after netns_setup.
#
#   dhclient_unit_start SECONDS
#       Starts dhclient on $NETNS_UNIT_IF in $NETNS_UNIT under `timeout SECONDS`, with its own
#       configuration, lease, pid file and script in $NETNS_TMP/dhclient. The script only sets the
#       address, the mask and the default route on that interface. dhclient runs in a private
#       mount and UTS namespace with a file of our own bound over /etc/resolv.conf, so that it
#       cannot touch the host's resolver or host name, and from a copy of its binary, which an
#       AppArmor profile for /sbin/dhclient (stock paths only) does not confine. Sets DHCLIENT_PID.
#
#   dhclient_unit_await_bound SECONDS
#       Waits until the script has applied a lease; returns 1 if it never does.
#
#   $DHCLIENT_LOG holds one line per script call: "REASON ip=A mask=M routers=R".

dhclient_unit_start() {
    local seconds=$1 dir="$NETNS_TMP/dhclient"
    mkdir -p "$dir"
    cp "$(command -v dhclient)" "$dir/dhclient"
    DHCLIENT_LOG="$dir/script.log"
    : >"$DHCLIENT_LOG"
    : >"$dir/resolv.conf"
    # The unit asks for nothing but what the reply gives and, like a unit that has just booted,
    # repeats its request every second or two until it is answered or 30 seconds have passed.
    cat >"$dir/dhclient.conf" <<'EOF'
timeout 30;
retry 1;
initial-interval 1;
backoff-cutoff 2;
request subnet-mask, routers;
EOF
    # dhclient runs its script with nothing but its own variables, so every path is written out.
    cat >"$dir/dhclient-script" <<EOF
#!/bin/sh
echo "\$reason ip=\$new_ip_address mask=\$new_subnet_mask routers=\$new_routers" >>"$DHCLIENT_LOG"
case "\$reason" in
    PREINIT)
        $(command -v ip) link set dev "\$interface" up ;;
    BOUND | RENEW | REBIND | REBOOT)
        $(command -v ip) -4 addr flush dev "\$interface"
        $(command -v ip) -4 addr add "\$new_ip_address/\$new_subnet_mask" dev "\$interface"
        for router in \$new_routers; do
            $(command -v ip) -4 route replace default via "\$router" dev "\$interface"
            break
        done
        echo applied >>"$DHCLIENT_LOG" ;;
    EXPIRE | FAIL | RELEASE | STOP)
        $(command -v ip) -4 addr flush dev "\$interface" ;;
esac
exit 0
EOF
    chmod 755 "$dir/dhclient-script"
    netns_start "$seconds" "$NETNS_UNIT" unshare --mount --uts --propagation private \
        sh -c 'mount --bind "$1" /etc/resolv.conf && shift && exec "$@"' sh "$dir/resolv.conf" \
        "$dir/dhclient" -4 -1 -d -cf "$dir/dhclient.conf" -lf "$dir/dhclient.leases" -pf "$dir/dhclient.pid" \
        -sf "$dir/dhclient-script" "$NETNS_UNIT_IF" >"$dir/dhclient.out" 2>&1
    DHCLIENT_PID=$NETNS_PID
}

dhclient_unit_await_bound() {
    netns_await_text "$DHCLIENT_LOG" applied "$1"
}
