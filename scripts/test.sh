#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test:
# native unit tests (ASan+UBSan) in 64 and 32 bits, the concurrency tests
# (TSan), and the Windows builds with their integration tests under Wine.
# The Wine tests mostly wait on windows and audio, so the other trees are
# built while they run: the x86_64 ones while the i686 tree builds, the i686
# ones (after the x86_64 ones, never beside them) while the native trees
# build. The i386 Wine runtime, which mostly waits on the network, is
# installed while the x86_64 tree builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
started=$SECONDS
"$root/scripts/install-deps.sh" test
echo "=== installing took $((SECONDS - started))s"
mkdir -p "$root/build"
wine32_log="$root/build/install-wine32.log"
(started=$SECONDS; "$root/scripts/install-deps.sh" wine32
 echo "=== installing the i386 Wine runtime took $((SECONDS - started))s") >"$wine32_log" 2>&1 &
wine32_install=$!

failed_trees=() notes=()
passed=0 failed=0 skipped=0

build() {
    local started=$SECONDS
    echo "=== $1: build"
    "$root/scripts/build.sh" "$1"
    echo "=== $1: built in $((SECONDS - started))s"
}

# Runs a tree's tests into its ctest.log; the last line says how long.
run_tests() {
    local started=$SECONDS status=0
    (cd "$root/build/$1" && ctest --output-on-failure -j"$(nproc)") >"$root/build/$1/ctest.log" 2>&1 || status=$?
    echo "=== $1: tested in $((SECONDS - started))s" >>"$root/build/$1/ctest.log"
    return "$status"
}

# Prints a tree's test output and adds its counts to the total.
report() {
    local tree=$1 status=$2 log="$root/build/$1/ctest.log"
    cat "$log"
    [ "$status" -eq 0 ] || failed_trees+=("$tree")
    local tree_failed=0 tree_total=0 tree_skipped
    read -r tree_failed tree_total < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log") || true
    tree_skipped=$(grep -c '(Skipped)' "$log" || true)
    passed=$((passed + ${tree_total:-0} - ${tree_failed:-0} - tree_skipped))
    failed=$((failed + ${tree_failed:-0}))
    skipped=$((skipped + tree_skipped))
    local skip_reason="$root/build/$tree/wine-tests-skipped.txt"
    [ -f "$skip_reason" ] && notes+=("$tree Wine runs skipped: $(cat "$skip_reason")")
    return 0
}

build_and_test() {
    local status=0
    build "$1"
    run_tests "$1" || status=$?
    report "$1" "$status"
}

# A failed step must not leave the install or the Wine tests running unseen.
trap 'wait' EXIT
build win64
run_tests win64 &
win64_tests=$!
wait "$wine32_install" || { cat "$wine32_log"; exit 1; }
cat "$wine32_log"
build win32
echo "=== waiting for the win64 tests"
win64_status=0
wait "$win64_tests" || win64_status=$?
run_tests win32 &
win32_tests=$!
for tree in native native-tsan native-m32; do build_and_test "$tree"; done
report win64 "$win64_status"
echo "=== waiting for the win32 tests"
status=0
wait "$win32_tests" || status=$?
report win32 "$status"

for note in "${notes[@]}"; do echo "$note"; done
echo "total: $passed passed, $failed failed, $skipped skipped (in $((SECONDS - started))s)"
if [ ${#failed_trees[@]} -ne 0 ]; then
    echo "FAILED in: ${failed_trees[*]}"
    exit 1
fi
