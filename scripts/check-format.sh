#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the tree is not as the
# checked-in .clang-format (Debian's clang-format 14) writes it.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
unformatted=()
while IFS= read -r file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#unformatted[@]} -ne 0 ]; then
    printf 'not formatted (run clang-format -i): %s\n' "${unformatted[@]}"
    exit 1
fi
echo "every C++ file is formatted"
