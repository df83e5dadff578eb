#!/usr/bin/env bash
# The benchmark: bash bench/run.sh [RUNS]   (as root; RUNS defaults to 200)
#
# Builds in build-bench and, in a namespace pair of its own (tests/netns/netns.sh), measures:
#   - request to first reply: one BOOTP request from the unit's side per run, RUNS runs against
#     a fresh `wrenset-cli configure` each, then RUNS against one dnsmasq serving the same
#     hardware address as a static BOOTP host (--port=0, bound to the admin veth only, its own
#     pid, lease and log files). Both are timed from kernel timestamps on the unit's veth: the
#     request as it leaves, the first reply as it arrives (bench/reply_latency.cpp);
#   - the CPU time that wrenset-cli uses while it waits 10 s with no request;
#   - where the desktop program is built: its time from exec to its first drawn frame and its
#     peak memory (VmHWM, a second after that frame) under Xvfb with no window manager, next to
#     a bare wx frame built the same way, with GTK's GL left on (as GTK chooses) and turned off
#     (GDK_GL=disable, which the desktop program sets for itself).
# Prints one table. Nothing is asserted: the figures are for reading.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

runs=${1:-200}
gui_runs=10
build_dir=build-bench
unit_hw=0a:1b:2c:3d:4e:5f
unit_ip=192.0.2.50
unit_mask=255.255.255.0
unit_gw=192.0.2.1

gui=OFF
if command -v wx-config >/dev/null 2>&1; then
    gui=ON
fi
cmake -S . -B "$build_dir" -DWRENSET_BUILD_BENCH=ON -DWRENSET_BUILD_GUI="$gui" >/dev/null
targets=(wrenset-cli wrenset-bench-latency)
[ "$gui" = OFF ] || targets+=(wrenset wrenset-bench-bare-frame wrenset_bench_first_paint)
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]}" >/dev/null

cli="$root/$build_dir/cli/wrenset-cli"
latency="$root/$build_dir/bench/wrenset-bench-latency"

source tests/netns/netns.sh
netns_require dnsmasq
netns_setup
work=$NETNS_TMP

# stats FILE: "min median p99" of the numbers in FILE (nanoseconds), in microseconds.
stats() {
    sort -n "$1" | awk '{ v[NR] = $1 }
        END {
            if (NR == 0) { print "- - -"; exit }
            p99 = int(NR * 0.99 + 0.999999); if (p99 > NR) p99 = NR
            median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%.1f %.1f %.1f\n", v[1] / 1000, median / 1000, v[p99] / 1000
        }'
}

median_of() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else printf "%.1f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One request from the unit's side; its latency in ns is appended to FILE.
measure() {
    local file=$1 xid=$2
    ip netns exec "$NETNS_UNIT" "$latency" "$NETNS_UNIT_IF" "$unit_hw" "$xid" 2000 >>"$file" ||
        echo "run.sh: no reply to request $xid" >&2
}

# wrenset-cli: a fresh exchange for every request.
: >"$work/wrenset.ns"
for ((run = 1; run <= runs; run++)); do
    netns_start 30 "$NETNS_ADMIN" "$cli" configure --ip "$unit_ip" --mask "$unit_mask" --gateway "$unit_gw" \
        --hw "$unit_hw" >/dev/null 2>"$work/cli.err"
    pid=$NETNS_PID
    netns_await_text "$work/cli.err" "(attempt 1 of 101)" 10 || netns_fail "wrenset-cli never started waiting"
    measure "$work/wrenset.ns" "$(printf '%08x' $((0x10000000 + run)))"
    netns_wait "$pid" 10 >/dev/null || true
done

# The CPU time of an exchange that waits 10 s for a request that never comes.
netns_start 30 "$NETNS_ADMIN" "$cli" configure --ip "$unit_ip" --mask "$unit_mask" --gateway "$unit_gw" \
    --hw "$unit_hw" >/dev/null 2>"$work/idle.err"
idle_pid=$NETNS_PID
netns_await_text "$work/idle.err" "(attempt 1 of 101)" 10 || netns_fail "wrenset-cli never started waiting"
cli_pid=$(ip netns pids "$NETNS_ADMIN" | while read -r p; do
    [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = "$cli" ] && echo "$p"; done | head -n 1)
cpu_before=$(cut -d' ' -f1 "/proc/$cli_pid/schedstat")
sleep 10
cpu_after=$(cut -d' ' -f1 "/proc/$cli_pid/schedstat")
netns_stop "$idle_pid"
idle_cpu_us=$(((cpu_after - cpu_before) / 1000))

# dnsmasq: one server for every request.
netns_start 600 "$NETNS_ADMIN" dnsmasq --keep-in-foreground --conf-file=/dev/null --port=0 --no-resolv --no-hosts \
    --interface="$NETNS_ADMIN_IF" --bind-interfaces --except-interface=lo --user=root --group=root \
    --pid-file="$work/dnsmasq.pid" --dhcp-leasefile="$work/dnsmasq.leases" --log-facility="$work/dnsmasq.log" \
    --dhcp-range=192.0.2.0,static,255.255.255.0 --dhcp-host="$unit_hw,$unit_ip" \
    --dhcp-option=option:router,"$unit_gw" >"$work/dnsmasq.out" 2>&1
dnsmasq_pid=$NETNS_PID
netns_await_text "$work/dnsmasq.log" "DHCP, static leases only" 10 || {
    cat "$work/dnsmasq.out" "$work/dnsmasq.log" >&2
    netns_fail "dnsmasq did not start"
}
: >"$work/dnsmasq.ns"
for ((run = 1; run <= runs; run++)); do
    measure "$work/dnsmasq.ns" "$(printf '%08x' $((0x20000000 + run)))"
done
netns_stop "$dnsmasq_pid"

read -r w_min w_median w_p99 <<<"$(stats "$work/wrenset.ns")"
read -r d_min d_median d_p99 <<<"$(stats "$work/dnsmasq.ns")"
w_count=$(wc -l <"$work/wrenset.ns")
d_count=$(wc -l <"$work/dnsmasq.ns")
ratio=$(awk -v w="$w_median" -v d="$d_median" 'BEGIN { if (w == "-" || d == "-" || d == 0) print "-"; else printf "%.2f", w / d }')

# The desktop program and the bare frame under Xvfb.
gui_rows=()
if [ "$gui" = ON ] && command -v Xvfb >/dev/null 2>&1; then
    # The display server runs in the admin namespace, so that the clean-up ends it; the programs
    # reach it through its socket in the file system.
    display=$((100 + RANDOM % 800))
    while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
        display=$((display + 1))
    done
    netns_start 600 "$NETNS_ADMIN" Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1
    xvfb_pid=$NETNS_PID
    for ((wait = 0; wait < 200; wait++)); do
        [ -S "/tmp/.X11-unix/X$display" ] && break
        sleep 0.05
    done
    preload="$root/$build_dir/bench/libwrenset_bench_first_paint.so"
    # start_up LABEL PROGRAM [ENV...]: median time to the first frame (ms) and peak memory (MiB)
    start_up() {
        local label=$1 program=$2
        shift 2
        : >"$work/paint.ms"
        : >"$work/peak.kib"
        for ((run = 1; run <= gui_runs; run++)); do
            rm -f "$work/paint"
            (
                export DISPLAY=":$display" WRENSET_BENCH_PAINT_FILE="$work/paint" LD_PRELOAD="$preload" "$@"
                export WRENSET_BENCH_EXEC_US=${EPOCHREALTIME/./}
                exec "$program"
            ) >/dev/null 2>&1 &
            local pid=$!
            for ((wait = 0; wait < 200; wait++)); do
                [ -s "$work/paint" ] && break
                sleep 0.05
            done
            sleep 1
            if [ -s "$work/paint" ]; then
                awk '{ printf "%.1f\n", $1 / 1000 }' "$work/paint" >>"$work/paint.ms"
                awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" >>"$work/peak.kib"
            fi
            kill -TERM "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        done
        local paint peak
        paint=$(median_of "$work/paint.ms")
        peak=$(awk -v k="$(median_of "$work/peak.kib")" 'BEGIN { if (k == "-") print "-"; else printf "%.1f", k / 1024 }')
        gui_rows+=("$(printf '%-44s %10s %10s %6s' "$label" "$paint" "$peak" "$(wc -l <"$work/paint.ms")")")
    }
    start_up "wrenset (desktop program)" "$root/$build_dir/ui/wrenset"
    start_up "bare wx frame, GTK's GL as GTK chooses" "$root/$build_dir/bench/wrenset-bench-bare-frame"
    start_up "bare wx frame, GDK_GL=disable" "$root/$build_dir/bench/wrenset-bench-bare-frame" GDK_GL=disable
    netns_stop "$xvfb_pid"
fi

echo
echo "Request to first reply, kernel timestamps on the unit's veth (us)"
printf '%-28s %8s %8s %8s %6s\n' "server" "min" "median" "p99" "runs"
printf '%-28s %8s %8s %8s %6s\n' "wrenset-cli configure" "$w_min" "$w_median" "$w_p99" "$w_count"
printf '%-28s %8s %8s %8s %6s\n' "dnsmasq $(dnsmasq --version | awk 'NR == 1 { print $3 }')" "$d_min" "$d_median" "$d_p99" "$d_count"
echo "ratio of medians (wrenset-cli / dnsmasq): $ratio"
echo
echo "CPU time of wrenset-cli waiting 10 s with no request: ${idle_cpu_us} us"
if [ "${#gui_rows[@]}" -gt 0 ]; then
    echo
    echo "Start-up under Xvfb, no window manager (medians of $gui_runs runs)"
    printf '%-44s %10s %10s %6s\n' "program" "paint ms" "peak MiB" "runs"
    printf '%s\n' "${gui_rows[@]}"
fi
