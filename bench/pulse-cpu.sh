#!/usr/bin/env bash
# CPU cost of the two capture sources at the defaults, paced in real time by
# a private PulseAudio server (scripts/pulse-bench.sh) that plays a tone
# into its default source: the stand-in shell with the plugin recording
# through wave-in, and through WASAPI input, against two floors measured in
# the same run: a bare wave-in loop (capture_floor) and the plugin's own
# WASAPI engine with a sink that only counts (wasapi_floor). Interleaved
# over several rounds; medians reported. Needs a built win64 tree.
#   bench/pulse-cpu.sh [seconds] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
rounds=${2:-3}
build="$root/build/win64"
loader=/usr/lib/wine/wine64
# shellcheck source=bench/wine-cpu.sh
. "$root/bench/wine-cpu.sh"
start_pulse_measurement pulse-cpu
"$root/scripts/pulse-bench.sh" up "$work/pulse" >/dev/null

sources=(wavein input)
for source in "${sources[@]}"; do
    mkdir -p "$work/$source"
    cp "$build/Zembrit.dll" "$work/$source/"
    printf 'Zembrit.plugin.wave.source: %s\n' "$source" >"$work/$source/Zembrit.rc"
done

declare -A samples
for round in $(seq "$rounds"); do
    samples[wavein-floor]+="$(percent "$build/capture_floor.exe" "$seconds") "
    samples[wasapi-floor]+="$(percent "$build/wasapi_floor.exe" "$seconds") "
    for source in "${sources[@]}"; do samples[plugin-$source]+="$(plugin_percent "$source") "; done
    echo "round $round: ${samples[*]}"
done

for name in wavein-floor wasapi-floor plugin-wavein plugin-input; do
    printf '%-16s median %s%% of one core over %s runs of %s s (%s)\n' "$name" \
        "$(median <<<"${samples[$name]}")" "$rounds" "$seconds" "${samples[$name]}"
done
printf 'plugin input / plugin wavein = %s\n' "$(awk -v a="$(median <<<"${samples[plugin-input]}")" \
    -v b="$(median <<<"${samples[plugin-wavein]}")" 'BEGIN {print (b > 0 ? sprintf("%.2f", a / b) : "n/a")}')"
