#!/usr/bin/env bash
# The icon sizes made at build time show the program's own icon: ImageMagick, which decodes the
# PNG files independently, finds every pixel of the 32 x 32 size equal to the XPM's, every larger
# size equal to the XPM enlarged by repeating pixels, and the 16 x 16 size equal to the XPM
# shrunk by averaging within a rounding step.
#     icon_test.sh ICON_DIR XPM
set -u
source "$(dirname "$0")/packaging_lib.sh"
icon_dir=$1 xpm=$2

for tool in convert compare; do
    command -v "$tool" >/dev/null || pkg_fail "needs ImageMagick's $tool (scripts/setup.sh installs it)"
done
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT

# size | how ImageMagick makes the reference from the XPM | allowed difference per channel
cases=(
    "16|-scale 16x16|1%"
    "32||0"
    "64|-sample 64x64|0"
    "128|-sample 128x128|0"
    "256|-sample 256x256|0"
)
for row in "${cases[@]}"; do
    IFS='|' read -r size scaling fuzz <<<"$row"
    icon="$icon_dir/${size}x${size}/wrenset.png"
    [ -f "$icon" ] || { check_failed "no icon $icon"; continue; }
    # shellcheck disable=SC2086
    convert "$xpm" $scaling "PNG32:$work/reference-$size.png" || pkg_fail "ImageMagick cannot read $xpm"
    differing=$(compare -metric AE -fuzz "$fuzz" "$work/reference-$size.png" "$icon" null: 2>&1)
    expect_eq "$differing" 0 "pixels of the ${size}x${size} icon that differ from the XPM's"
done

finish
