#!/usr/bin/env bash
# What the running plugin costs: CPU time per second of wall time of the
# stand-in shell with the plugin, against two baselines measured in the
# same run: the shell with capture stopped, and a bare capture loop that
# only re-queues its buffer (the platform's floor). The four measurements
# are interleaved over several rounds and their medians reported, since
# Wine's accounting varies from run to run. Needs a built win64 tree.
#   bench/cpu-cost.sh [seconds] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
rounds=${2:-3}
build="$root/build/win64"
work="$build/cpu-cost"
loader=/usr/lib/wine/wine64
rm -rf "$work"
mkdir -p "$work"
"$root/tests/wine/bench-up.sh" "$work/bench" "$loader" >/dev/null
trap '"$root/tests/wine/bench-down.sh" "$work/bench" "$loader"' EXIT

# Prints the percentage of one core from the program's "cpu:" line.
percent() { "$root/tests/wine/wine-run.sh" "$work/bench" "$loader" "$@" 2>/dev/null |
    sed -n 's/^cpu: .* = \([0-9.]*\)% of one core.*/\1/p'; }

prepare_plugin() {
    mkdir -p "$work/$1"
    cp "$build/Zembrit.dll" "$work/$1/"
    printf '%b' "$2" >"$work/$1/Zembrit.rc"
}
plugin_percent() {
    percent "$build/standin.exe" --plugin "Z:${work//\//\\}\\$1\\Zembrit.dll" --wait 2000 \
        --measure-cpu "$seconds" --quit
}

prepare_plugin capture-stopped "Zembrit.plugin.wave.StartWaveMonitorOnStartUp: false\n"
prepare_plugin defaults ""
prepare_plugin 100fps-1600x200-blur \
    "Zembrit.plugin.wave.fps: 100\nZembrit.plugin.width: 1600\nZembrit.plugin.height: 200\nZembrit.plugin.motionblur: true\n"

declare -A samples
for round in $(seq "$rounds"); do
    samples[floor]+="$(percent "$build/capture_floor.exe" "$seconds") "
    for name in capture-stopped defaults 100fps-1600x200-blur; do
        samples[$name]+="$(plugin_percent "$name") "
    done
    echo "round $round: floor ${samples[floor]}| stopped ${samples[capture-stopped]}|" \
         "defaults ${samples[defaults]}| heavy ${samples[100fps-1600x200-blur]}"
done

median() { tr ' ' '\n' | grep . | sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
for name in floor capture-stopped defaults 100fps-1600x200-blur; do
    printf '%-22s median %s%% of one core over %s runs of %s s (%s)\n' "$name" \
        "$(median <<<"${samples[$name]}")" "$rounds" "$seconds" "${samples[$name]}"
done
