#!/usr/bin/env bash
# Keeps the house pointing one way. Each folder may include its own headers
# and those of the folders below it: plugin > commands > scope > capture >
# settings > the ground (plugin/host_api.h and plugin/identity.h, which
# include nothing of ours). The stand-in shell (host/) includes only itself
# and the ground. Prints every include that breaks this; fails when any does.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

rank() {
    case $1 in
        settings) echo 1 ;; capture) echo 2 ;; scope) echo 3 ;; commands) echo 4 ;; plugin) echo 5 ;;
        *) echo 0 ;;
    esac
}
isGround() { [ "$1" = plugin/host_api.h ] || [ "$1" = plugin/identity.h ]; }

broken=0
report() { echo "$1 includes $2: $3"; broken=1; }

while IFS= read -r -d '' file; do
    folder=${file%%/*}
    while IFS= read -r included; do
        target=${included%%/*}
        [ "$target" = "$included" ] && continue  # not one of our folders
        if isGround "$file"; then
            report "$file" "$included" "the ground includes nothing of ours"
        elif isGround "$included"; then
            continue
        elif [ "$folder" = host ] || [ "$target" = host ]; then
            [ "$folder" = "$target" ] || report "$file" "$included" "the stand-in shell and the plugin share only the ground"
        elif [ "$(rank "$target")" -gt "$(rank "$folder")" ]; then
            report "$file" "$included" "$target/ is above $folder/"
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find plugin settings capture scope commands host \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

exit "$broken"
