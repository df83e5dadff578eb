#!/usr/bin/env bash
# `cmake --install` into a DESTDIR puts exactly the two programs, the desktop entry, the icon in
# every hicolor size and the two manual pages under the prefix (with the desktop build; without
# it, wrenset-cli and its page), and each of them is what it claims to be.
#     install_test.sh BUILD_DIR SOURCE_DIR WITH_GUI
set -u
source "$(dirname "$0")/packaging_lib.sh"
build_dir=$1 source_dir=$2 with_gui=$3

for tool in desktop-file-validate file man gzip; do
    command -v "$tool" >/dev/null || pkg_fail "needs $tool (scripts/setup.sh installs it)"
done

dest=$(mktemp -d)
trap 'rm -rf -- "$dest"' EXIT
if ! DESTDIR="$dest" cmake --install "$build_dir" --prefix /usr >"$dest.log" 2>&1; then
    cat "$dest.log" >&2
    rm -f -- "$dest.log"
    pkg_fail "cmake --install failed"
fi
rm -f -- "$dest.log"

installed=$(cd "$dest" && find . ! -type d | sed 's/^\.//' | LC_ALL=C sort)
expect_file <(echo "$installed") "$(pkg_expected_files "$with_gui")"$'\n' "the list of the installed files"

for program in wrenset-cli wrenset; do
    [ "$program" = wrenset-cli ] || [ "$with_gui" = ON ] || continue
    [ -x "$dest/usr/bin/$program" ] || check_failed "/usr/bin/$program is not executable"
    file -b "$dest/usr/bin/$program" | grep -q '^ELF 64-bit LSB pie executable' ||
        check_failed "/usr/bin/$program is not an executable: $(file -b "$dest/usr/bin/$program")"
done
"$dest/usr/bin/wrenset-cli" --version | grep -qx 'Wrenset        Version  2.0' ||
    check_failed "the installed wrenset-cli does not print its version"

for page in "$dest"/usr/share/man/man1/*.1.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || check_failed "$(basename "$page") renders with warnings: $warnings"
    gzip -dc "$page" | cmp -s - "$source_dir/packaging/$(basename "$page" .gz)" ||
        check_failed "$(basename "$page") is not the compressed source page"
done

if [ "$with_gui" = ON ]; then
    entry="$dest/usr/share/applications/wrenset.desktop"
    validation=$(desktop-file-validate "$entry" 2>&1) || check_failed "desktop-file-validate: $validation"
    [ -z "$validation" ] || check_failed "desktop-file-validate has remarks: $validation"
    # The entry starts the installed program, by the name of the installed icon, in the Network menu.
    expect_eq "$(sed -n 's/^Exec=//p' "$entry")" wrenset "the entry's Exec"
    expect_eq "$(sed -n 's/^Icon=//p' "$entry")" wrenset "the entry's Icon"
    expect_eq "$(sed -n 's/^Categories=//p' "$entry")" "Network;" "the entry's Categories"
    expect_eq "$(sed -n 's/^Terminal=//p' "$entry")" false "the entry's Terminal"
    for size in "${PKG_ICON_SIZES[@]}"; do
        icon="$dest/usr/share/icons/hicolor/${size}x${size}/apps/wrenset.png"
        expect_eq "$(file -b "$icon")" "PNG image data, $size x $size, 8-bit/color RGBA, non-interlaced" \
            "the ${size}x${size} icon"
    done
fi

finish
