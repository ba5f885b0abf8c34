#!/usr/bin/env bash
# Keeps the house pointing one way. A file includes its own folder's headers
# and those of the folders below it, top down: plugin/ > commands/ > scope/ >
# capture/ > settings/ > the signal core (capture/signal/) > the ground
# (shell/: the shell's interface, the plugin's identity and its own module).
# The ground includes only itself; the stand-in shell (host/) only itself
# and the ground; the core only itself, the standard library and the
# spectrum's portable transform (kissfft.hh), no platform header.
# Inside capture/, top down: its top (capture.cpp), control/, the corners
# wave_in/ and wasapi/ (never each other), floor/, the core. The folders above
# capture/ include only its front (the headers named below), and its top
# holds only the front and its source. The front's headers include only
# floor/ and the core; below the top, only a source file includes one, to
# define what it declares.
# Prints every include that breaks this; fails when any does.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

front=" capture/capture.h capture/latest_trace.h capture/known_endpoints.h "
isFront() { [[ "$front" = *" $1 "* ]]; }
isTop() { [[ "$1" = capture/* && "${1#capture/}" != */* ]]; }

# The layer of a file of the plugin: the ground, then the core below
# settings/, then the folders.
rank() {
    case $1 in
        shell/*) echo 0 ;; capture/signal/*) echo 1 ;; settings/*) echo 2 ;; capture/*) echo 3 ;;
        scope/*) echo 4 ;; commands/*) echo 5 ;; plugin/*) echo 6 ;;
        *) echo 0 ;;
    esac
}
# The layer of a file inside capture/.
captureRank() {
    case $1 in
        capture/signal/*) echo 1 ;; capture/floor/*) echo 2 ;; capture/wave_in/* | capture/wasapi/*) echo 3 ;;
        capture/control/*) echo 4 ;;
        *) echo 5 ;;
    esac
}
folderOf() { isTop "$1" && echo "capture's top" || echo "${1%/*}/"; }

broken=0
report() { echo "$1 includes $2: $3"; broken=1; }

checkCapture() {
    local file=$1 included=$2
    if isFront "$included"; then
        isTop "$file" || [[ "$file" = *.cpp ]] ||
            report "$file" "$included" "below capture/'s top only a source file includes the front, to define it"
    elif isFront "$file"; then
        [ "$(captureRank "$included")" -le 2 ] ||
            report "$file" "$included" "the front's headers include only floor/ and the signal core"
    elif [ "$(captureRank "$included")" -gt "$(captureRank "$file")" ]; then
        report "$file" "$included" "$(folderOf "$included") is above $(folderOf "$file") inside capture/"
    fi
    case "$file:$included" in
        capture/wave_in/*:capture/wasapi/* | capture/wasapi/*:capture/wave_in/*)
            report "$file" "$included" "wave-in and WASAPI never include each other" ;;
    esac
}

checkOurs() {
    local file=$1 included=$2 folder=${1%%/*} target=${2%%/*}
    if [[ "$file" = capture/signal/* ]]; then
        [[ "$included" = capture/signal/* ]] ||
            report "$file" "$included" "the signal core includes only itself and the standard library"
    elif [ "$folder" = shell ]; then
        [ "$target" = shell ] || report "$file" "$included" "the ground includes only itself"
    elif [ "$target" = shell ]; then
        return
    elif [ "$folder" = host ] || [ "$target" = host ]; then
        [ "$folder" = "$target" ] || report "$file" "$included" "the stand-in shell and the plugin share only the ground"
    elif [ "$(rank "$included")" -gt "$(rank "$file")" ]; then
        report "$file" "$included" "$target/ is above $folder/"
    elif [ "$folder" = capture ] && [ "$target" = capture ]; then
        checkCapture "$file" "$included"
    elif [ "$target" = capture ] && [ "$(rank "$file")" -gt 3 ] && ! isFront "$included"; then
        report "$file" "$included" "the folders above capture/ include only its front"
    fi
}

# The core builds anywhere: of the angle-bracket headers only the C++
# library's, which have no suffix, and the header-only transform, which
# builds for every tree.
checkSystem() {
    [[ "$1" = capture/signal/* ]] && [[ "$2" = *.* ]] && [ "$2" != kissfft.hh ] &&
        report "$1" "<$2>" "the signal core includes no platform header"
}

# capture/'s top: the front, and capture.cpp behind it.
for file in capture/*.h capture/*.cpp; do
    isFront "$file" || [ "$file" = capture/capture.cpp ] ||
        { echo "$file: capture/'s top holds only its front and capture.cpp"; broken=1; }
done

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
