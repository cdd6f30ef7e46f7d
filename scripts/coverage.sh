#!/usr/bin/env bash
# Measures line coverage of the product code by the whole test suite: builds
# build/coverage with gcc's --coverage, runs ctest, and prints gcovr's
# per-file report, a per-folder summary and the total. Tests, fuzzers, tools,
# benchmarks and generated Qt files are left out of the figures. A failing
# test is reported (and makes the exit status 1) but coverage is still
# measured. On demand only, not part of CI; takes several minutes.
#
#   scripts/coverage.sh [-j N]
#
# Reports are also written to build/coverage/coverage.{txt,csv} and
# build/coverage/html/index.html.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
[[ ${1:-} == -j ]] && jobs=${2:?-j needs a number}
out=build/coverage

if ! command -v gcovr >/dev/null; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq gcovr >/dev/null
fi

cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage \
    -DCMAKE_MODULE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$out" -j"$jobs"

# Counters add up across runs: start from zero so the figures are this run's.
find "$out" -name '*.gcda' -delete
tests_passed=1
(cd "$out" && ctest --timeout 600) || tests_passed=0

# Product code is every top-level folder except these (and hidden ones).
filters=()
for dir in $(git ls-files -co --exclude-standard | sed -n 's|/.*||p' | sort -u); do
    case $dir in
        tests | fuzz | tools | bench | scripts | build | .*) ;;
        *) filters+=(--filter "$dir/") ;;
    esac
done

mkdir -p "$out/html"
gcovr --root . "${filters[@]}" \
    --exclude '.*_autogen/' --exclude '(.*/)?(moc|ui|qrc)_[^/]*$' \
    -j "$jobs" --txt "$out/coverage.txt" --csv "$out/coverage.csv" \
    --html-details "$out/html/index.html" "$out"

cat "$out/coverage.txt"
echo
echo "Line coverage by folder:"
awk -F, 'NR > 1 { split($1, p, "/"); t[p[1]] += $2; c[p[1]] += $3; T += $2; C += $3 }
    END {
        for (d in t) printf "  %-16s %6d of %6d lines  %5.1f%%\n", d "/", c[d], t[d], 100 * c[d] / t[d] | "sort"
        close("sort")
        printf "  %-16s %6d of %6d lines  %5.1f%%\n", "TOTAL", C, T, T ? 100 * C / T : 0
    }' "$out/coverage.csv"

if ((!tests_passed)); then
    echo "Some tests failed (see above); the coverage figures include their partial runs." >&2
    exit 1
fi
