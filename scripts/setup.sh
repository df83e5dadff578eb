#!/usr/bin/env bash
# Installs every Debian package that building, the demo and the tests need. Safe to run again.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: run as root (it installs Debian packages)" >&2
    exit 1
fi

packages=(
    # build
    build-essential cmake pkg-config googletest libgtest-dev libwxgtk3.2-dev libx11-dev zlib1g-dev
    # the desktop program needs a font, or wx never paints
    fonts-dejavu-core
    # network namespaces and the real peers
    iproute2 util-linux procps libcap2-bin isc-dhcp-client dnsmasq-base tshark snmpd snmp
    # desktop tests under a virtual display
    xvfb xauth openbox xdotool x11-utils imagemagick xclip
    # sanitizers and fuzzing
    clang libclang-rt-14-dev
    # packaging checks
    desktop-file-utils man-db dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    # tshark asks whether non-root users may capture; answer no without a prompt
    echo "wireshark-common wireshark-common/install-setuid boolean false" | debconf-set-selections
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

# snmpd brings a service of its own; the tests start their own agents inside namespaces.
if command -v systemctl >/dev/null 2>&1; then
    systemctl disable snmpd >/dev/null 2>&1 || true
    if [ -d /run/systemd/system ]; then
        systemctl stop snmpd >/dev/null 2>&1 || true
    fi
fi
if [ -x /etc/init.d/snmpd ] && /etc/init.d/snmpd status >/dev/null 2>&1; then
    /etc/init.d/snmpd stop >/dev/null 2>&1 || true
fi
