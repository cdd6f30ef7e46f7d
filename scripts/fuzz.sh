#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build/fuzz, and runs each one for a bounded
# time from its seeds in fuzz/corpus/<target>/. Fails on the first crash,
# sanitizer report or broken property; the input that did it is left in
# build/fuzz/crashes/.
# The runs start from a fixed seed (LPS_FUZZ_SEED, default 1), so a run of
# the same tree explores the same inputs; LPS_FUZZ_SEED=0 lets libFuzzer
# pick one, for exploring.
# Usage: fuzz.sh [seconds per target, default 20] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLPS_FUZZ=ON -DLPS_WERROR=ON \
    -DBUILD_TESTING=OFF -DLPS_EMULATOR=OFF >/dev/null
cmake --build "$dir" -j"$(( $(nproc) < 2 ? $(nproc) : 2 ))" --target fuzz_targets

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then mapfile -t targets < "$dir/fuzz-targets.txt"; fi
mkdir -p "$dir/crashes"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
    [ -n "$t" ] || continue
    # New inputs go to a scratch corpus; the committed seeds stay as they are.
    work="$dir/corpus/$t"
    mkdir -p "$work"
    echo "fuzz: $t (${seconds}s)"
    if ! "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -seed="${LPS_FUZZ_SEED:-1}" -print_final_stats=0 \
            -artifact_prefix="$dir/crashes/$t-" "$work" "fuzz/corpus/$t" >"$dir/$t.log" 2>&1; then
        tail -n 40 "$dir/$t.log"
        echo "fuzz: $t failed; the input is in $dir/crashes/" >&2
        exit 1
    fi
done
echo "fuzz: every target ran ${seconds}s without a fault"
