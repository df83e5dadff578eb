#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors and runs every test: unit, network
# namespace and desktop tests. Run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

build_dir=${WRENSET_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DWRENSET_WERROR=ON
cmake --build "$build_dir" -j"$(nproc)"
ctest --test-dir "$build_dir" --output-on-failure --timeout 900 "$@"
