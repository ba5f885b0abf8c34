#!/usr/bin/env bash
# Builds dist/Zembrit-x86_64.zip and dist/Zembrit-i686.zip, each holding
# Zembrit.dll, the documented sample Zembrit.rc and the install text, then
# checks that each DLL starts in the stand-in shell from a folder holding
# nothing else (where this machine can run that architecture under Wine).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" test
"$root/scripts/install-deps.sh" wine32
dist="$root/dist"
rm -rf "$dist"
mkdir -p "$dist"

load_check() {
    local tree=$1 folder=$2 loader=$3
    if ! "$loader" --version >/dev/null 2>&1; then
        echo "$tree: $loader cannot run on this machine; load check skipped"
        return 0
    fi
    local bench="$root/build/$tree/release-check"
    "$root/tests/wine/bench-up.sh" "$bench" "$loader" >/dev/null
    local dll="Z:${folder//\//\\}\\Zembrit.dll"
    local output
    output=$("$root/tests/wine/wine-run.sh" "$bench" "$loader" "$root/build/$tree/standin.exe" \
        --plugin "$dll" --wait 500 --quit 2>/dev/null) || true
    "$root/tests/wine/bench-down.sh" "$bench" "$loader"
    echo "$output"
    grep -q "started with result 0" <<<"$output"
}

for pair in win64:x86_64:/usr/lib/wine/wine64 win32:i686:/usr/lib/wine/wine; do
    IFS=: read -r tree arch loader <<<"$pair"
    "$root/scripts/build.sh" "$tree"
    stage="$dist/Zembrit-$arch"
    mkdir -p "$stage"
    cp "$root/build/$tree/Zembrit.dll" "$stage/"
    "$arch-w64-mingw32-strip" "$stage/Zembrit.dll"
    cp "$root/release/Zembrit.rc" "$root/release/INSTALL.txt" "$stage/"
    (cd "$stage" && zip -q -X "$dist/Zembrit-$arch.zip" Zembrit.dll Zembrit.rc INSTALL.txt)

    # Load the DLL alone, as a user would after unpacking only it.
    alone="$dist/check-$arch"
    mkdir -p "$alone"
    unzip -q -o "$dist/Zembrit-$arch.zip" Zembrit.dll -d "$alone"
    load_check "$tree" "$alone" "$loader"
    rm -rf "$alone" "$stage"
done
ls -l "$dist"
