#!/usr/bin/env bash
# What the running plugin costs: CPU time per second of wall time of the
# stand-in shell with the plugin, against two baselines from the same run:
# the shell with capture stopped, and a bare capture loop that only
# re-queues its buffer (the platform's floor). Needs a built win64 tree.
#   bench/cpu-cost.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build="$root/build/win64"
work="$build/cpu-cost"
loader=/usr/lib/wine/wine64
rm -rf "$work"
mkdir -p "$work"
"$root/tests/wine/bench-up.sh" "$work/bench" "$loader" >/dev/null
trap '"$root/tests/wine/bench-down.sh" "$work/bench" "$loader"' EXIT
run() { "$root/tests/wine/wine-run.sh" "$work/bench" "$loader" "$@" 2>/dev/null | grep '^cpu:'; }

measure_plugin() {
    local name=$1 config=$2
    mkdir -p "$work/$name"
    cp "$build/Zembrit.dll" "$work/$name/"
    printf '%b' "$config" >"$work/$name/Zembrit.rc"
    local dll="Z:${work//\//\\}\\$name\\Zembrit.dll"
    echo "$name: $(run "$build/standin.exe" --plugin "$dll" --wait 2000 --measure-cpu "$seconds" --quit)"
}

echo "floor (bare re-queue loop): $(run "$build/capture_floor.exe" "$seconds")"
measure_plugin "capture-stopped" "Zembrit.plugin.wave.StartWaveMonitorOnStartUp: false\n"
measure_plugin "defaults" ""
measure_plugin "100fps-1600x200-blur" \
    "Zembrit.plugin.wave.fps: 100\nZembrit.plugin.width: 1600\nZembrit.plugin.height: 200\nZembrit.plugin.motionblur: true\n"
