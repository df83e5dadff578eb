#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors and runs every test: unit, network
# namespace and desktop tests. Then it builds again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the unit and namespace tests in that build, and runs each
# fuzz target for a short while (scripts/fuzz.sh runs them for longer). Run as root on Debian 12.
# Arguments go to the first ctest run only.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=${WRENSET_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DWRENSET_WERROR=ON
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure --timeout 900 "$@"

# The sanitizer build leaves out the desktop program: GTK's own allocations that live until exit
# would drown the leak report.
sanitize_dir=build-asan
sanitize_flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
CC=clang CXX=clang++ cmake -S . -B "$sanitize_dir" -DWRENSET_BUILD_GUI=OFF \
    "-DCMAKE_CXX_FLAGS=$sanitize_flags" "-DCMAKE_EXE_LINKER_FLAGS=$sanitize_flags"
cmake --build "$sanitize_dir" -j"$(nproc)"

# Every report also goes to a file, so that one from a program whose exit status or standard
# error a test does not look at still fails the run. The exit status 86 is one that no test
# expects of wrenset-cli. The folder is open to all, as some tests run the program as nobody.
reports="$PWD/$sanitize_dir/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
chmod 1777 "$reports"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:exitcode=86:log_path=$reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=86:log_path=$reports/ubsan"
sanitized_status=0
ctest --test-dir "$sanitize_dir" --output-on-failure --timeout 900 -L 'unit|netns' || sanitized_status=$?
if compgen -G "$reports/*" >/dev/null; then
    echo "test.sh: sanitizer reports:" >&2
    cat "$reports"/* >&2
    exit 1
fi
unset ASAN_OPTIONS UBSAN_OPTIONS
if [ "$sanitized_status" -ne 0 ]; then
    exit "$sanitized_status"
fi

bash scripts/fuzz.sh 15
