#!/usr/bin/env bash
# Deliberate-fault runner (see README.md here): applies each patch to a
# scratch copy of the tree, rebuilds and runs the tests it names, and prints
# CAUGHT, MISSED or STALE. On demand, not part of CI.
#   tests/mutants/run.sh [-j N] [--keep] [PATCH...]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tests/mutants
work=${LPS_MUTANT_DIR:-/tmp/lps-mutants}
src=$work/src
build=$work/build
logs=$work/logs
jobs=$(nproc)
keep=0

die() { echo "run.sh: $*" >&2; exit 2; }

patches=()
while (($#)); do
    case $1 in
        -j) jobs=${2:?-j needs a number}; shift 2 ;;
        -j*) jobs=${1#-j}; shift ;;
        --keep) keep=1; shift ;;
        -h|--help) sed -n '2,5s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) if [[ -f $1 ]]; then patches+=("$(realpath "$1")")
           elif [[ -f $here/$1 ]]; then patches+=("$here/$1")
           else die "no such patch: $1"; fi
           shift ;;
    esac
done
if ((${#patches[@]} == 0)); then
    shopt -s nullglob
    patches=("$here"/*.patch)
    ((${#patches[@]})) || die "no patches in $here"
fi

# The tests a patch names on its "Tests:" line.
tests_of() { sed -n 's/^Tests:[[:space:]]*//p' "$1" | head -n1 | xargs; }

all_tests=()
for p in "${patches[@]}"; do
    t=$(tests_of "$p")
    [[ -n $t ]] || die "$(basename "$p") has no Tests: line"
    read -ra names <<<"$t"
    all_tests+=("${names[@]}")
done
read -ra all_tests <<<"$(printf '%s\n' "${all_tests[@]}" | sort -u | xargs)"

# ctest -R pattern matching exactly the given test names.
pattern() { local IFS='|'; echo "^($*)\$"; }

# The scratch copy is not a git repository; keep git from looking above it.
export GIT_CEILING_DIRECTORIES=$work

# Copy what git would see as the working tree: tracked and untracked files,
# less ignored ones (so no build folders).
mkdir -p "$work" "$logs"
if ((keep)) && [[ -f $build/CMakeCache.txt ]]; then
    echo "== re-syncing $src"
    command -v rsync >/dev/null || die "--keep needs rsync (apt-get install rsync)"
    # --checksum without --times: only files whose content differs are
    # rewritten, and they get a fresh time stamp so the build sees them.
    git -C "$root" ls-files -z -co --exclude-standard \
        | rsync -rlp --checksum --from0 --files-from=- --delete-missing-args "$root/" "$src/"
else
    echo "== copying the tree to $src"
    rm -rf "$src" "$build"
    mkdir -p "$src"
    git -C "$root" ls-files -z -co --exclude-standard \
        | tar -C "$root" --null -T - --ignore-failed-read -cf - | tar -C "$src" -xf -
    # Debug: no optimiser, so the rebuild after each fault is quickest.
    # No -Werror: a fault may well leave an unused variable behind.
    gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
    cmake -S "$src" -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=Debug \
        -DLPS_WERROR=OFF -DLPS_SANITIZE=OFF >"$logs/configure.log" 2>&1 \
        || { tail -n 30 "$logs/configure.log"; die "configure failed (see $logs/configure.log)"; }
fi

echo "== building (-j$jobs)"
cmake --build "$build" -j"$jobs" >"$logs/build.log" 2>&1 \
    || { tail -n 30 "$logs/build.log"; die "the unchanged tree does not build (see $logs/build.log)"; }

# Every named test must exist, and pass before any fault goes in: otherwise
# a "caught" would mean nothing.
known=$(ctest --test-dir "$build" -N | sed -n 's/^ *Test *#[0-9]*: //p')
for t in "${all_tests[@]}"; do
    grep -qx "$t" <<<"$known" || die "no test named $t (named by a patch)"
done
echo "== baseline: ${all_tests[*]}"
ctest --test-dir "$build" -R "$(pattern "${all_tests[@]}")" --timeout 300 \
    --output-on-failure >"$logs/baseline.log" 2>&1 \
    || { tail -n 30 "$logs/baseline.log"; die "tests fail without any fault (see $logs/baseline.log)"; }

# If the run is interrupted while a fault is in, take it out again so the
# next --keep run starts clean. Trapping the signals makes bash wait for the
# running build first: otherwise the build would go on without us and leave
# an object compiled from the fault that looks newer than the restored source.
applied=
trap 'exit 130' INT TERM HUP
trap '[[ -n $applied ]] && (cd "$src" && git apply -R "$applied")' EXIT

caught=0 missed=0 stale=0
for p in "${patches[@]}"; do
    name=$(basename "$p" .patch)
    log=$logs/$name.log
    read -ra names <<<"$(tests_of "$p")"
    if ! (cd "$src" && git apply --check "$p") >"$log" 2>&1; then
        printf '%-7s %-34s %s\n' STALE "$name" "does not apply (see $log)"
        stale=$((stale + 1)); continue
    fi
    (cd "$src" && git apply "$p")
    applied=$p

    # Test targets share their test's name; build the whole tree for a
    # name that has no target of its own.
    targets=("${names[@]}")
    for t in "${names[@]}"; do
        grep -q "/$t\.dir\$" "$build/CMakeFiles/TargetDirectories.txt" || { targets=(all); break; }
    done
    if ! cmake --build "$build" -j"$jobs" --target "${targets[@]}" >>"$log" 2>&1; then
        result="CAUGHT" what="(build)"
    # One failing test is enough to call it caught: the GUI tests are slow,
    # and a whole run takes hours on a small machine without this.
    elif ctest --test-dir "$build" -R "$(pattern "${names[@]}")" --timeout 300 --stop-on-failure \
            --output-on-failure >>"$log" 2>&1; then
        result="MISSED" what="${names[*]}"
    else
        result="CAUGHT"
        what=$(sed -n '/The following tests FAILED:/,$s/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$log" | xargs)
        what=${what:-"(ctest)"}
    fi

    (cd "$src" && git apply -R "$p") || die "could not take $name out again; rerun without --keep"
    applied=
    printf '%-7s %-34s %s\n' "$result" "$name" "$what"
    if [[ $result == CAUGHT ]]; then caught=$((caught + 1)); else missed=$((missed + 1)); fi
done

echo "$caught caught, $missed missed, $stale stale"
((missed == 0 && stale == 0))
