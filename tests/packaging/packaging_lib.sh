# packaging_lib.sh: what the packaging tests share. Source it from bash.
#
#   pkg_skip MESSAGE / pkg_fail MESSAGE
#       Skip (exit 77) or fail (exit 1) the script; with the environment variable CI set, a skip
#       fails instead.
#
#   check_failed, expect_eq, expect_file and finish come from the namespace tests' checks.sh.
#
#   pkg_expected_files WITH_GUI
#       The files that the install rules and the package hold under /usr, one a line, sorted.
#
#   pkg_build_deb BUILD_DIR OUT_DIR
#       Makes the Debian package with cpack into OUT_DIR and sets PKG_DEB to its path.
#
#   pkg_scratch_dir
#       Makes a folder that the unprivileged account can reach, on a file system mounted without
#       nosuid (the kernel ignores file capabilities on nosuid mounts), and sets PKG_SCRATCH to it.
#       The caller removes it.
#
#   pkg_maintainer_script ROOT ETC SCRIPT ARG...
#       Runs the package's maintainer script SCRIPT as dpkg does for a package unpacked in ROOT
#       (DPKG_ROOT), in a mount namespace of its own in which /etc is the private copy ETC: the
#       group that the script adds lives in that copy only, and the machine's own /etc is never
#       touched. pkg_private_etc ETC makes such a copy; pkg_group_id ETC reads the group's id.
#
#   pkg_configured_package BUILD_DIR
#       For the tests that run the packaged programs in a namespace pair, after netns_setup:
#       makes a scratch folder (pkg_scratch_dir) that goes at exit before the namespaces do;
#       unpacks the package made from BUILD_DIR in $PKG_ROOT, its maintainer scripts in
#       $PKG_CONTROL and a private /etc in $PKG_ETC, and runs the post-install step there. Sets
#       PKG_GID to the id of the group wrenset that the step added.
#   pkg_packaged_step SCRIPT ARG...
#       Runs that package's maintainer script SCRIPT (postinst, prerm) with ARG...; fails the
#       test, showing the script's output, if the script fails.

source "$(dirname "${BASH_SOURCE[0]}")/../netns/checks.sh"

PKG_SKIP_CODE=77
PKG_ICON_SIZES=(16 32 64 128 256)

pkg_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

pkg_skip() {
    if [ -n "${CI:-}" ]; then
        pkg_fail "$* (CI is set, so this does not skip)"
    fi
    echo "SKIP: $*" >&2
    exit "$PKG_SKIP_CODE"
}

pkg_expected_files() {
    local with_gui=$1 size
    {
        echo /usr/bin/wrenset-cli
        echo /usr/share/man/man1/wrenset-cli.1.gz
        if [ "$with_gui" = ON ]; then
            echo /usr/bin/wrenset
            echo /usr/share/applications/wrenset.desktop
            echo /usr/share/man/man1/wrenset.1.gz
            for size in "${PKG_ICON_SIZES[@]}"; do
                echo "/usr/share/icons/hicolor/${size}x${size}/apps/wrenset.png"
            done
        fi
    } | LC_ALL=C sort
}

pkg_build_deb() {
    local build_dir=$1 out_dir=$2
    mkdir -p "$out_dir"
    if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$out_dir" >"$out_dir/cpack.log" 2>&1; then
        cat "$out_dir/cpack.log" "$out_dir"/_CPack_Packages/*/DEB/PreinstallOutput.log >&2 2>/dev/null
        pkg_fail "cpack could not make the package"
    fi
    local debs=("$out_dir"/wrenset_*.deb)
    [ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || pkg_fail "cpack made no single wrenset .deb in $out_dir"
    PKG_DEB=${debs[0]}
}

pkg_scratch_dir() {
    local base options
    for base in "${TMPDIR:-/tmp}" /var/tmp /tmp; do
        [ -d "$base" ] || continue
        options=$(findmnt -n -o OPTIONS -T "$base" 2>/dev/null) || continue
        case ",$options," in
            *,nosuid,*) continue ;;
        esac
        PKG_SCRATCH=$(mktemp -d "$base/wrenset-packaging.XXXXXX") || continue
        chmod 0755 "$PKG_SCRATCH"
        if setpriv --reuid=nobody --regid=nogroup --clear-groups test -x "$PKG_SCRATCH"; then
            return 0
        fi
        rm -rf -- "$PKG_SCRATCH"
    done
    pkg_skip "no temporary folder that nobody can reach on a file system mounted without nosuid"
}

pkg_private_etc() {
    local etc=$1
    mkdir -p -m 0700 "$(dirname "$etc")"
    cp -a /etc "$etc" || pkg_fail "cannot copy /etc to $etc"
}

pkg_maintainer_script() {
    local root=$1 etc=$2 script=$3
    shift 3
    unshare --mount --propagation private \
        sh -c 'mount --bind "$1" /etc && shift && exec "$@"' sh "$etc" \
        env DPKG_ROOT="$root" DPKG_MAINTSCRIPT_NAME="$(basename "$script")" "$script" "$@"
}

pkg_group_id() {
    awk -F: '$1 == "wrenset" { print $3 }' "$1/group"
}

pkg_configured_package() {
    local build_dir=$1
    pkg_scratch_dir
    trap pkg_cleanup_scratch_and_namespaces EXIT
    pkg_build_deb "$build_dir" "$PKG_SCRATCH/out"
    PKG_ROOT="$PKG_SCRATCH/root" PKG_CONTROL="$PKG_SCRATCH/control" PKG_ETC="$PKG_SCRATCH/private/etc"
    mkdir -p "$PKG_ROOT"
    dpkg-deb -x "$PKG_DEB" "$PKG_ROOT"
    dpkg-deb --control "$PKG_DEB" "$PKG_CONTROL"
    pkg_private_etc "$PKG_ETC"
    pkg_packaged_step postinst configure
    PKG_GID=$(pkg_group_id "$PKG_ETC")
    [ -n "$PKG_GID" ] || pkg_fail "postinst configure added no group wrenset"
}

pkg_cleanup_scratch_and_namespaces() {
    local status=$?
    rm -rf -- "$PKG_SCRATCH"
    (exit "$status")
    netns_cleanup
}

pkg_packaged_step() {
    local log="$PKG_SCRATCH/$1.log"
    pkg_maintainer_script "$PKG_ROOT" "$PKG_ETC" "$PKG_CONTROL/$1" "${@:2}" >"$log" 2>&1 ||
        pkg_fail "$* failed: $(cat "$log")"
}
