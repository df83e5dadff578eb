#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# in build-fuzz, and runs each for SECONDS seconds (default 15) from its committed corpus under
# tests/fuzz/corpus/. For a longer run: scripts/fuzz.sh 600. The network targets make a network
# namespace of their own, so run as root.
#
# New inputs found on the way go to build-fuzz/corpus/, never into the committed corpus; an input
# that fails a check or crashes is kept as build-fuzz/artifacts/<target>-crash-*, and the run
# fails. Add such an input to tests/fuzz/corpus/<target>/ once its fault is mended, and every
# test run replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-15}
build_dir=build-fuzz
targets=(dotted_address_fuzz hardware_address_fuzz request_datagram_fuzz probe_answer_fuzz)

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DWRENSET_BUILD_GUI=OFF -DWRENSET_BUILD_FUZZERS=ON \
    "-DCMAKE_CXX_FLAGS=$flags"
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]}"

mkdir -p "$build_dir/artifacts"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in "${targets[@]}"; do
    found="$build_dir/corpus/$target"
    mkdir -p "$found"
    echo "fuzz.sh: $target for $seconds s"
    # -max_len covers the longest datagram the network targets take (1,500 bytes and a byte
    # or two of framing); the parsers' texts are far shorter than that anyway.
    "$build_dir/tests/fuzz/$target" -max_total_time="$seconds" -max_len=1504 -timeout=10 -error_exitcode=1 \
        -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$target-" \
        "$found" "tests/fuzz/corpus/$target"
done
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds} s each with no failure"
echo "fuzz: ${#targets[@]} passed, 0 failed"
