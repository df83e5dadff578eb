#!/usr/bin/env bash
# The manual pages render without warnings, and the page of wrenset-cli agrees with its --help:
# the same synopsis, the same options, the same exit codes and the same facts about the waits,
# the replies, the probe and the capability.
#     man_page_test.sh CLI SOURCE_DIR
set -u
source "$(dirname "$0")/packaging_lib.sh"
cli=$1 source_dir=$2
page="$source_dir/packaging/wrenset-cli.1"

command -v man >/dev/null || pkg_fail "needs man (scripts/setup.sh installs man-db)"

for source in "$page" "$source_dir/packaging/wrenset.1"; do
    warnings=$(MANWIDTH=80 man --warnings -l "$source" 2>&1 >/dev/null)
    [ -z "$warnings" ] || check_failed "$(basename "$source") renders with warnings: $warnings"
done

help=$("$cli" --help) || pkg_fail "wrenset-cli --help failed"
# Wide enough that no line of the page wraps or is hyphenated.
rendered=$(MANWIDTH=300 man -l "$page" 2>/dev/null)

section() {
    awk -v name="$1" '/^[A-Z]/ { inside = ($0 == name); next } inside { sub(/^ +/, ""); print }' <<<"$rendered"
}

help_synopsis=$(sed -n '/^Usage:$/,/^$/ { /^  /{ s/^  //; p } }' <<<"$help")
expect_eq "$(section SYNOPSIS | sed '/^$/d')" "$help_synopsis" "the page's synopsis"

long_options() { grep -oE -- '--[a-z]+' | LC_ALL=C sort -u; }
expect_eq "$(section OPTIONS | grep -E '^-' | long_options | tr '\n' ' ')" \
    "$(long_options <<<"$help" | tr '\n' ' ')" "the options the page lists"

help_codes=$(sed -n '/^Exit status:/,$p' <<<"$help" | tr '\n' ' ' | grep -oE '(: |, )[0-9] ' | tr -dc '0-9\n' |
    sed '/^$/d' | tr '\n' ' ')
expect_eq "$(section 'EXIT STATUS' | grep -E '^[0-9]+ ' | cut -d' ' -f1 | tr '\n' ' ')" "$help_codes" \
    "the exit codes the page lists"

# Facts that both texts state, each as a pattern that both must match.
facts=(
    "UDP port 67"
    "101"
    "100 sec"
    "five times"
    "port 68"
    "UDP port 10001"
    "port 161"
    "two seconds"
    "Ctrl\+C"
    "cap_net_bind_service"
    "\"?public\"?"
)
flat_help=$(tr '\n' ' ' <<<"$help" | tr -s ' ')
flat_page=$(tr '\n' ' ' <<<"$rendered" | tr -s ' ')
for fact in "${facts[@]}"; do
    grep -qE -- "$fact" <<<"$flat_help" || check_failed "--help does not say '$fact'"
    grep -qE -- "$fact" <<<"$flat_page" || check_failed "the manual page does not say '$fact'"
done

finish
