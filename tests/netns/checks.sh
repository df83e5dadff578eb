# checks.sh: the checks that the namespace and packaging tests share. Source it from bash; a
# failed check is reported and counted, and the script carries on to its end, where finish says
# how it went.
#
#   check_failed MESSAGE
#       Prints "FAIL: MESSAGE" on standard error and counts the failure.
#
#   expect_eq ACTUAL EXPECTED WHAT
#       A failed check unless ACTUAL is EXPECTED.
#
#   expect_file FILE EXPECTED WHAT
#       A failed check unless FILE holds exactly the text EXPECTED; the difference, line by line,
#       goes to standard error.
#
#   cli_wait NAME PID AUDIT
#       Waits at most 30 s for wrenset-cli's run NAME, which netns_start (netns.sh) started as
#       PID, and sets CLI_STATUS to its exit status. A failed check if it did not end in time, or
#       unless AUDIT, the file that the descriptor audit (fd_audit.cpp) wrote at its exit, says
#       that no descriptor was left open.
#
#   finish
#       Ends the script: status 1 if any check failed, else 0.

FAILURES=0

check_failed() {
    echo "FAIL: $*" >&2
    FAILURES=$((FAILURES + 1))
}

expect_eq() {
    local actual=$1 expected=$2 what=$3
    [ "$actual" = "$expected" ] || check_failed "$what: expected '$expected', got '$actual'"
}

expect_file() {
    local file=$1 expected=$2 what=$3
    if ! diff -u --label expected --label "$what" <(printf '%s' "$expected") "$file" >&2; then
        check_failed "$what differs from the expected text"
    fi
}

cli_wait() {
    local name=$1 pid=$2 audit=$3
    CLI_STATUS=0
    netns_wait "$pid" 30 || CLI_STATUS=$?
    [ "$CLI_STATUS" -ne 124 ] || check_failed "$name: wrenset-cli did not end in time"
    if ! [ -f "$audit" ] || [ "$(tail -n 1 "$audit")" != end ]; then
        check_failed "$name: the descriptor audit never ran at exit"
    elif [ "$(wc -l <"$audit")" -ne 1 ]; then
        check_failed "$name: wrenset-cli left descriptors open at exit: $(head -n -1 "$audit" | tr '\n' ' ')"
    fi
}

finish() {
    if [ "$FAILURES" -gt 0 ]; then
        echo "$FAILURES check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
    exit 0
}
