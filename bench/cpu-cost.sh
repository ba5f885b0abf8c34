#!/usr/bin/env bash
# What the running plugin costs: CPU time per second of wall time of the
# stand-in shell with the plugin, against two baselines measured in the
# same run: the shell with capture stopped, and a bare capture loop that
# only re-queues its buffer (the platform's floor). The measurements are
# interleaved over several rounds and their medians reported, since Wine's
# accounting varies from run to run. Needs a built win64 tree.
#
# With --against COMMIT, that commit's plugin is built in a temporary folder
# and measured side by side with this tree's: in every round the two take
# turns at each profile, in this tree's stand-in shell, and the medians of
# both are reported with their ratio.
#   bench/cpu-cost.sh [--against COMMIT] [seconds] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
against=
if [ "${1:-}" = --against ]; then
    against=$2
    shift 2
fi
seconds=${1:-30}
rounds=${2:-3}
build="$root/build/win64"
work="$build/cpu-cost"
loader=/usr/lib/wine/wine64
rm -rf "$work"
mkdir -p "$work"
old_tree=
cleanup() {
    "$root/tests/wine/bench-down.sh" "$work/bench" "$loader"
    if [ -n "$old_tree" ]; then rm -rf "$old_tree"; fi
}
trap cleanup EXIT

declare -A dll=([this]="$build/Zembrit.dll")
builds=(this)
if [ -n "$against" ]; then
    old_tree=$(mktemp -d)
    git -C "$root" archive "$against" | tar -x -C "$old_tree"
    cmake -S "$old_tree" -B "$old_tree/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$old_tree/cmake/mingw-x86_64.cmake" >/dev/null
    cmake --build "$old_tree/build" --target Zembrit -j"$(nproc)" >/dev/null
    dll[$against]="$old_tree/build/Zembrit.dll"
    builds=("$against" this)
fi

# The heavy profile's window is 1600 pixels wide: the screen must hold it.
ZEMBRIT_SCREEN=1920x1200x24 "$root/tests/wine/bench-up.sh" "$work/bench" "$loader" >/dev/null

# shellcheck source=bench/wine-cpu.sh
. "$root/bench/wine-cpu.sh"

profiles=(capture-stopped defaults heavy)
declare -A config=(
    [capture-stopped]="Zembrit.plugin.wave.StartWaveMonitorOnStartUp: false\n"
    [defaults]=""
    [heavy]="Zembrit.plugin.wave.fps: 100\nZembrit.plugin.width: 1600\nZembrit.plugin.height: 200\nZembrit.plugin.motionblur: true\n"
)
for name in "${builds[@]}"; do
    for profile in "${profiles[@]}"; do
        mkdir -p "$work/$name-$profile"
        cp "${dll[$name]}" "$work/$name-$profile/"
        printf '%b' "${config[$profile]}" >"$work/$name-$profile/Zembrit.rc"
    done
done

declare -A samples
for round in $(seq "$rounds"); do
    samples[floor]+="$(percent "$build/capture_floor.exe" "$seconds") "
    line="round $round: floor ${samples[floor]}"
    for profile in "${profiles[@]}"; do
        for name in "${builds[@]}"; do
            samples[$name-$profile]+="$(plugin_percent "$name-$profile") "
            line+="| $name $profile ${samples[$name-$profile]}"
        done
    done
    echo "$line"
done

report() {
    printf '%-32s median %s%% of one core over %s runs of %s s (%s)\n' "$1" \
        "$(median <<<"${samples[$1]}")" "$rounds" "$seconds" "${samples[$1]}"
}
report floor
for profile in "${profiles[@]}"; do
    for name in "${builds[@]}"; do report "$name-$profile"; done
    if [ -n "$against" ]; then
        printf '%-32s this / %s = %s\n' "$profile" "$against" "$(awk -v a="$(median <<<"${samples[this-$profile]}")" \
            -v b="$(median <<<"${samples[$against-$profile]}")" 'BEGIN {print (b > 0 ? sprintf("%.2f", a / b) : "n/a")}')"
    fi
done
