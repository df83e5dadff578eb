#!/usr/bin/env bash
# The packaged desktop program, unpacked (not installed) and given its owner, mode and capability
# by the package's own post-install step, does its main job for an unprivileged member of the
# group wrenset: started from the admin side of a namespace pair as nobody, with
# cap_net_bind_service alone, Admin > Configure with four good fields binds UDP port 67 and the
# unit's request gets the five replies. Once the pre-removal step has taken the capability off,
# the same Configure shows "Bind error", then "WSAEACCES:".
#     desktop_capability_test.sh CLI PEER FD_AUDIT BUILD_DIR
set -u
build_dir=$4
here=$(dirname "$0")
source "$here/packaging_lib.sh"
source "$here/../netns/bootp_lib.sh" "$1" "$2" "$3"
netns_require setpriv unshare getcap findmnt dpkg-deb cpack

pkg_configured_package "$build_dir"
[ -f "$PKG_ROOT/usr/bin/wrenset" ] || netns_fail "the package holds no /usr/bin/wrenset"

# The desktop program as the member starts it: nobody, in the group, with a home of its own.
home="$PKG_SCRATCH/home"
mkdir -p "$home"
chown nobody:nogroup "$home"
member="$PKG_SCRATCH/wrenset-as-member"
printf '#!/bin/sh\nexec env -u XDG_RUNTIME_DIR HOME=%s setpriv --reuid=nobody --regid=nogroup --groups=%s %s\n' \
    "$home" "$PKG_GID" "$PKG_ROOT/usr/bin/wrenset" >"$member"
chmod 0755 "$member"

source "$here/../gui/gui_lib.sh"
gui_require "$member"
gui_setup

# With the capability: the program runs as nobody, with cap_net_bind_service as its only
# effective capability, and answers the unit.
gui_start_wrenset "$NETNS_ADMIN"
expect_eq "$(awk '/^Uid:/ { print $2, $3 } /^Groups:/ { print $2 } /^CapEff:/ { print $2 }' "/proc/$GUI_PID/status" |
    tr '\n' ' ')" "65534 65534 $PKG_GID 0000000000000400 " "the running program's user, group and capabilities"
gui_configure_from_menu "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW" "$UNIT_HW"
peer member --hw "$UNIT_HW" --xid 600d0067 --replies 5 --wait-ms 20000
expect_file "$NETNS_TMP/member.replies" \
    "$(expected_replies 5 "$NETNS_ADMIN_ADDRESS" "$NETNS_UNIT_IF" \
        "$(expected_reply 600d0067 "$UNIT_HW" "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW")")"$'\n' "with the capability: replies"
gui_exit_from_menu check_failed "with the capability:"

# Without it: the step's message, then the error's name, each in a box titled with the program's name.
pkg_packaged_step prerm remove
gui_start_wrenset "$NETNS_ADMIN"
gui_configure_from_menu "$UNIT_IP" "$UNIT_MASK" "$UNIT_GW" "$UNIT_HW"
for expected in "Bind error" "WSAEACCES:"; do
    box=$(gui_wait_window '^wrenset$') || gui_fail "without the capability: no box saying '$expected'"
    expect_eq "$(gui_message_text "$box")" "$expected" "without the capability: the message box"
    gui_key Return
    gui_wait_closed "$box" "the box saying '$expected' did not close"
done
gui_exit_from_menu check_failed "without the capability:"

finish
