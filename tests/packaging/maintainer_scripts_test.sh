#!/usr/bin/env bash
# The package's own maintainer scripts, run as dpkg runs them on the unpacked package, with a
# private copy of /etc: the post-install step adds the system group wrenset once, makes each
# program root:wrenset mode 0750 with the capability cap_net_bind_service, and does so again
# without harm; a setcap that fails warns and does not fail the step; the pre-removal step takes
# the capability off and an aborted upgrade puts it back.
#     maintainer_scripts_test.sh BUILD_DIR WITH_GUI
set -u
source "$(dirname "$0")/packaging_lib.sh"
build_dir=$1 with_gui=$2

[ "$(id -u)" -eq 0 ] || pkg_skip "needs root to give files owners and capabilities"
for tool in unshare getcap setcap addgroup setpriv findmnt; do
    command -v "$tool" >/dev/null || pkg_fail "needs $tool (scripts/setup.sh installs it)"
done
unshare --mount true 2>/dev/null || pkg_skip "unshare --mount does not work here"

pkg_scratch_dir
work=$PKG_SCRATCH
trap 'rm -rf -- "$work"' EXIT
pkg_build_deb "$build_dir" "$work/out"
dpkg-deb --control "$PKG_DEB" "$work/control"
etc="$work/private/etc"
pkg_private_etc "$etc"
host_groups=$(md5sum </etc/group)

programs=(/usr/bin/wrenset-cli)
[ "$with_gui" = ON ] && programs+=(/usr/bin/wrenset)

# unpack ROOT: the package's files in ROOT, as dpkg leaves them before the post-install step.
unpack() {
    mkdir -p "$1"
    dpkg-deb -x "$PKG_DEB" "$1"
}

# expect_programs ROOT WHAT OWNER MODE CAPABILITY: every program's owner, mode and capability.
expect_programs() {
    local root=$1 what=$2 owner=$3 mode=$4 capability=$5 program
    for program in "${programs[@]}"; do
        expect_eq "$(stat -c '%U:%g %a' "$root$program")" "$owner $mode" "$what: owner and mode of $program"
        expect_eq "$(getcap "$root$program" | awk '{ print $2 }')" "$capability" "$what: capability of $program"
    done
}

root="$work/root"
unpack "$root"
pkg_maintainer_script "$root" "$etc" "$work/control/postinst" configure >"$work/first.log" 2>&1 ||
    check_failed "postinst configure failed: $(cat "$work/first.log")"
gid=$(pkg_group_id "$etc")
[ -n "$gid" ] || pkg_fail "postinst configure added no group wrenset"
first_system_gid=$(sed -n 's/^FIRST_SYSTEM_GID=//p' "$etc/adduser.conf")
last_system_gid=$(sed -n 's/^LAST_SYSTEM_GID=//p' "$etc/adduser.conf")
[ "$gid" -ge "${first_system_gid:-100}" ] && [ "$gid" -le "${last_system_gid:-999}" ] ||
    check_failed "the group wrenset ($gid) is not a system group"
expect_programs "$root" "after configure" "root:$gid" 750 cap_net_bind_service=ep
expect_eq "$(md5sum </etc/group)" "$host_groups" "the machine's own /etc/group"

pkg_maintainer_script "$root" "$etc" "$work/control/postinst" configure >"$work/again.log" 2>&1 ||
    check_failed "a second postinst configure failed: $(cat "$work/again.log")"
expect_eq "$(grep -c '^wrenset:' "$etc/group")" 1 "groups named wrenset after a second configure"
expect_eq "$(pkg_group_id "$etc")" "$gid" "the group's id after a second configure"
expect_programs "$root" "after a second configure" "root:$gid" 750 cap_net_bind_service=ep

pkg_maintainer_script "$root" "$etc" "$work/control/prerm" upgrade 2.0-1 >"$work/prerm.log" 2>&1 ||
    check_failed "prerm upgrade failed: $(cat "$work/prerm.log")"
expect_programs "$root" "after prerm upgrade" "root:$gid" 750 ""
pkg_maintainer_script "$root" "$etc" "$work/control/postinst" abort-upgrade 2.0-1 >"$work/abort.log" 2>&1 ||
    check_failed "postinst abort-upgrade failed: $(cat "$work/abort.log")"
expect_programs "$root" "after postinst abort-upgrade" "root:$gid" 750 cap_net_bind_service=ep
pkg_maintainer_script "$root" "$etc" "$work/control/prerm" remove >"$work/remove.log" 2>&1 ||
    check_failed "prerm remove failed: $(cat "$work/remove.log")"
expect_programs "$root" "after prerm remove" "root:$gid" 750 ""

# A file system without file capabilities: setcap fails, the step warns and still succeeds.
stub="$work/stub"
mkdir -p "$stub"
printf '#!/bin/sh\necho "Failed to set capabilities on file \\"$2\\" (Operation not supported)" >&2\nexit 1\n' >"$stub/setcap"
chmod 0755 "$stub/setcap"
root="$work/no-capabilities"
unpack "$root"
status=0
PATH="$stub:$PATH" pkg_maintainer_script "$root" "$etc" "$work/control/postinst" configure \
    >"$work/nocap.out" 2>"$work/nocap.err" || status=$?
expect_eq "$status" 0 "postinst configure where setcap fails: exit status"
for program in "${programs[@]}"; do
    grep -qF "setcap cap_net_bind_service=+ep $program failed" "$work/nocap.err" ||
        check_failed "no warning for $program where setcap fails: $(cat "$work/nocap.err")"
done
expect_programs "$root" "where setcap fails" "root:$gid" 750 ""

finish
