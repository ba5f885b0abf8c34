#!/usr/bin/env bash
# Keeps the house pointing one way. Each folder may include its own headers
# and those of the folders below it: plugin > commands > scope > capture >
# settings > the signal core (capture/signal/) > the ground
# (shell/shell_api.h and shell/plugin_identity.h, which
# include nothing of ours). The stand-in shell (host/) includes only itself
# and the ground. Inside capture/: the folders above see only its front (the
# headers directly in capture/); wave_in/ and wasapi/ never include each
# other; signal/, the portable core, includes only itself and the standard
# library. Prints every include that breaks this; fails when any does.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# The layer of a file: the core below settings/, the rest by folder.
rank() {
    case $1 in
        capture/signal/*) echo 1 ;;
        settings/*) echo 2 ;; capture/*) echo 3 ;; scope/*) echo 4 ;; commands/*) echo 5 ;; plugin/*) echo 6 ;;
        *) echo 0 ;;
    esac
}
isGround() { [ "$1" = shell/shell_api.h ] || [ "$1" = shell/plugin_identity.h ]; }
# capture/wave_in/x.h -> wave_in; capture/x.h -> front
captureCorner() {
    local rest=${1#capture/}
    case $rest in */*) echo "${rest%%/*}" ;; *) echo front ;; esac
}

broken=0
report() { echo "$1 includes $2: $3"; broken=1; }

checkCapture() {
    local file=$1 included=$2 from to
    from=$(captureCorner "$file") to=$(captureCorner "$included")
    case "$from:$to" in
        wave_in:wasapi | wasapi:wave_in) report "$file" "$included" "wave-in and WASAPI never include each other" ;;
    esac
}

checkOurs() {
    local file=$1 included=$2 folder=${1%%/*} target=${2%%/*}
    if [[ "$file" = capture/signal/* ]]; then
        [[ "$included" = capture/signal/* ]] ||
            report "$file" "$included" "the signal core includes only itself and the standard library"
    elif isGround "$file"; then
        report "$file" "$included" "the ground includes nothing of ours"
    elif isGround "$included"; then
        return
    elif [ "$folder" = host ] || [ "$target" = host ]; then
        [ "$folder" = "$target" ] || report "$file" "$included" "the stand-in shell and the plugin share only the ground"
    elif [ "$(rank "$included")" -gt "$(rank "$file")" ]; then
        report "$file" "$included" "$target/ is above $folder/"
    elif [ "$target" = capture ] && [ "$folder" = capture ]; then
        checkCapture "$file" "$included"
    elif [ "$target" = capture ] && [ "$folder" != settings ] && [ "$(captureCorner "$included")" != front ]; then
        report "$file" "$included" "the folders above capture/ include only its front"
    fi
}

# The core builds anywhere: of the angle-bracket headers only the C++
# library's, which have no suffix.
checkSystem() {
    [[ "$1" = capture/signal/* ]] && [[ "$2" = *.* ]] && report "$1" "<$2>" "the signal core includes no platform header"
}

while IFS= read -r -d '' file; do
    while IFS= read -r included; do
        [ "${included%%/*}" = "$included" ] && continue  # not one of our folders
        checkOurs "$file" "$included"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    while IFS= read -r included; do
        checkSystem "$file" "$included"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/\1/p' "$file")
done < <(find shell plugin settings capture scope commands host \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

exit "$broken"
