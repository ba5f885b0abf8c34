#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test:
# native unit tests (ASan+UBSan) in 64 and 32 bits, the concurrency tests
# (TSan), and the Windows builds with their integration tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test

failed_trees=() notes=()
passed=0 failed=0 skipped=0
for tree in native native-tsan native-m32 win64 win32; do
    echo "=== $tree: build"
    started=$SECONDS
    "$root/scripts/build.sh" "$tree"
    echo "=== $tree: built in $((SECONDS - started))s; test"
    started=$SECONDS
    log="$root/build/$tree/ctest.log"
    if ! (cd "$root/build/$tree" && ctest --output-on-failure -j"$(nproc)") | tee "$log"; then
        failed_trees+=("$tree")
    fi
    tree_failed=0 tree_total=0
    read -r tree_failed tree_total < <(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log") || true
    tree_skipped=$(grep -c '(Skipped)' "$log" || true)
    passed=$((passed + ${tree_total:-0} - ${tree_failed:-0} - tree_skipped))
    failed=$((failed + ${tree_failed:-0}))
    skipped=$((skipped + tree_skipped))
    echo "=== $tree: tested in $((SECONDS - started))s"
    skip_reason="$root/build/$tree/wine-tests-skipped.txt"
    [ -f "$skip_reason" ] && notes+=("$tree Wine runs skipped: $(cat "$skip_reason")")
done

for note in "${notes[@]}"; do echo "$note"; done
echo "total: $passed passed, $failed failed, $skipped skipped"
if [ ${#failed_trees[@]} -ne 0 ]; then
    echo "FAILED in: ${failed_trees[*]}"
    exit 1
fi
