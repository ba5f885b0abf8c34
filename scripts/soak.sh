#!/usr/bin/env bash
# The long soak runs: the soak and fault tests of a Windows build under Wine
# at their long counts (1,000 start/end cycles, 10,000 broadcasts, 1,000
# capture restarts: ten times the ctest counts, five times for the
# broadcasts), each test in a process of its own on a Wine bench of its own,
# with the figures each test measured.
#   scripts/soak.sh [build folder]     (default build/win64; build it first)
# ZEMBRIT_SOAK_SCALE sets the multiple (default 10; the broadcasts take
# half of it), ZEMBRIT_SOAK_SEED the random sequence.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
tests="$build/integration_tests.exe"
[ -f "$tests" ] || { echo "no $tests: build the tree first (scripts/build.sh win64)" >&2; exit 2; }
loader=$(sed -n 's/^ZEMBRIT_WINE_LOADER:[A-Z]*=//p' "$build/CMakeCache.txt")
loader=${loader:-/usr/lib/wine/wine64}
bench="$build/soak-bench"
scale=${ZEMBRIT_SOAK_SCALE:-10}
# A long run may take many minutes; the bench still kills a hung one.
export ZEMBRIT_WINE_TIMEOUT=${ZEMBRIT_WINE_TIMEOUT:-3600}

"$root/tests/wine/bench-up.sh" "$bench" "$loader"
trap '"$root/tests/wine/bench-down.sh" "$bench" "$loader"' EXIT
trap "exit 130" INT TERM
run() { "$root/tests/wine/wine-run.sh" "$bench" "$loader" "$tests" "$@" 2>&1 | grep -v '^ALSA lib'; }

# "Suite." lines, then "  Test" lines under each.
names=$(run --gtest_list_tests --gtest_filter='Soak*:Fault*' | tr -d '\r' |
        awk '/^[^ ]/ { suite = $1 } /^  [^ ]/ { print suite $1 }')
echo "scale $scale, seed ${ZEMBRIT_SOAK_SEED:-default}, loader $loader"
failed=()
for name in $names; do
    case "$name" in
        Soak.RandomAndMalformed*) export ZEMBRIT_SOAK_SCALE=$(( (scale + 1) / 2 )) ;;
        *) export ZEMBRIT_SOAK_SCALE=$scale ;;
    esac
    started=$(date +%s)
    if output=$(run --gtest_filter="$name"); then status=0; else status=$?; fi
    took=$(( $(date +%s) - started ))
    if [ "$status" -eq 0 ] && grep -q '^\[  PASSED  \] 1 test' <<<"$output"; then
        echo "PASS $name (${took} s)"
    else
        echo "FAIL $name (${took} s, exit $status)"
        grep -E 'Failure|Expected|Which is|actual|^  ' <<<"$output" | head -40 || true
        failed+=("$name")
    fi
    grep '^\[ figures  \]' <<<"$output" | sed 's/^\[ figures  \]/      /' || true
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All soak and fault tests passed."
