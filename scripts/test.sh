#!/usr/bin/env bash
# Builds the tool twice -- a normal build and one with AddressSanitizer and
# UndefinedBehaviorSanitizer -- with warnings as errors, and runs the whole
# test suite against each; runs every fuzz target for a bounded time
# (scripts/fuzz.sh, clang); then builds the Debian package from the normal
# build, checks it, installs it, runs it and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DLPS_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && ctest --output-on-failure --timeout 600)
}

run_suite build/test-release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build/test-asan -DCMAKE_BUILD_TYPE=Debug -DLPS_SANITIZE=ON
scripts/fuzz.sh 20
scripts/check-package.sh build/test-release
