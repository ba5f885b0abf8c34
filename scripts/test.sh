#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test:
# native unit tests (ASan+UBSan), the concurrency tests (TSan), and the
# Windows builds with their integration tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

failed=()
for tree in native native-tsan win64 win32; do
    echo "=== $tree: build"
    "$root/scripts/build.sh" "$tree"
    echo "=== $tree: test"
    if ! (cd "$root/build/$tree" && ctest --output-on-failure -j"$(nproc)"); then
        failed+=("$tree")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED in: ${failed[*]}"
    exit 1
fi
echo "All trees passed."
