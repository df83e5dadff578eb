#!/usr/bin/env bash
# cpack makes one .deb whose control data names the package, its section and its runtime
# dependencies (the shared libraries found by dpkg-shlibdeps, adduser and libcap2-bin for the
# post-install step, no test tool), carries the two maintainer scripts, and whose contents are
# exactly the installed files, owned by root.
#     deb_test.sh BUILD_DIR WITH_GUI
set -u
source "$(dirname "$0")/packaging_lib.sh"
build_dir=$1 with_gui=$2

work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
pkg_build_deb "$build_dir" "$work/out"

field() { dpkg-deb --field "$PKG_DEB" "$1"; }
expect_eq "$(field Package)" wrenset "Package"
expect_eq "$(field Version)" 2.0-1 "Version"
expect_eq "$(field Section)" net "Section"
expect_eq "$(field Architecture)" "$(dpkg --print-architecture)" "Architecture"
expect_eq "$(basename "$PKG_DEB")" "wrenset_2.0-1_$(dpkg --print-architecture).deb" "the package's file name"

depends=$(field Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//' | LC_ALL=C sort -u | tr '\n' ' ')
required=(adduser libcap2-bin libc6 libstdc++6)
[ "$with_gui" = ON ] && required+=("libwxgtk3.2-1")
for package in "${required[@]}"; do
    [[ " $depends" == *" $package "* ]] || check_failed "Depends lacks $package: $depends"
done
for tool in gtest googletest dhcp dnsmasq snmp tshark wireshark xvfb xdotool imagemagick; do
    [[ "$depends" != *"$tool"* ]] || check_failed "Depends names the test tool $tool: $depends"
done

contents=$(dpkg-deb --contents "$PKG_DEB")
files=$(awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' <<<"$contents" | LC_ALL=C sort)
expect_file <(echo "$files") "$(pkg_expected_files "$with_gui")"$'\n' "the list of the package's files"
owners=$(awk '{ print $2 }' <<<"$contents" | sort -u)
expect_eq "$owners" root/root "the owners of the package's files"

dpkg-deb --control "$PKG_DEB" "$work/control"
for script in postinst prerm; do
    [ -x "$work/control/$script" ] || check_failed "the package has no executable $script"
    sh -n "$work/control/$script" || check_failed "$script is not valid sh"
    grep -q '/usr/bin/wrenset-cli' "$work/control/$script" || check_failed "$script does not name /usr/bin/wrenset-cli"
done

finish
