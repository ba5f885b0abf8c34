#!/usr/bin/env bash
# CPU cost of a WASAPI source with nothing to show, against the same with a
# tone, in one run: the stand-in shell with the plugin recording the input
# of a private PulseAudio server (scripts/pulse-bench.sh) while it plays a
# tone and while it plays nothing, and the output source at rest (Wine has
# no loopback, so it retries with a flat trace). Interleaved over several
# rounds; medians reported. Needs a built win64 tree.
#   bench/quiet-cpu.sh [seconds] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
rounds=${2:-2}
build="$root/build/win64"
loader=/usr/lib/wine/wine64
# shellcheck source=bench/wine-cpu.sh
. "$root/bench/wine-cpu.sh"
start_pulse_measurement quiet-cpu

for source in input output; do
    mkdir -p "$work/$source"
    cp "$build/Zembrit.dll" "$work/$source/"
    printf 'Zembrit.plugin.wave.source: %s\n' "$source" >"$work/$source/Zembrit.rc"
done

# The server is started afresh for each case, with what it plays.
measure() {
    "$root/scripts/pulse-bench.sh" up "$work/pulse" "$1" >/dev/null
    plugin_percent "$2"
}

declare -A samples
for round in $(seq "$rounds"); do
    samples[input-tone]+="$(measure chord input) "
    samples[input-silence]+="$(measure silence input) "
    samples[output-at-rest]+="$(measure silence output) "
    echo "round $round: ${samples[*]}"
done

for name in input-tone input-silence output-at-rest; do
    printf '%-15s median %s%% of one core over %s runs of %s s (%s)\n' "$name" \
        "$(median <<<"${samples[$name]}")" "$rounds" "$seconds" "${samples[$name]}"
done
printf 'input silence / input tone = %s\n' "$(awk -v a="$(median <<<"${samples[input-silence]}")" \
    -v b="$(median <<<"${samples[input-tone]}")" 'BEGIN {print (b > 0 ? sprintf("%.2f", a / b) : "n/a")}')"
