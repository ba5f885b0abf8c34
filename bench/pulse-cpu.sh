#!/usr/bin/env bash
# CPU cost of the plugin's profiles at the defaults, paced in real time by a
# private PulseAudio server (scripts/pulse-bench.sh) that plays a tone into
# its default source: the stand-in shell with the plugin recording through
# wave-in and through WASAPI input, and through wave-in with the spectrum
# view (alone, and with the level meter), against two floors measured in the
# same run: a bare wave-in loop (capture_floor) and the plugin's own WASAPI
# engine with a sink that only counts (wasapi_floor). Interleaved over
# several rounds; medians reported. Needs a built win64 tree.
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

# Each profile's lines of Zembrit.rc; everything else at its default.
declare -A lines=(
    [wavein]="Zembrit.plugin.wave.source: wavein"
    [input]="Zembrit.plugin.wave.source: input"
    [spectrum]="Zembrit.plugin.view: spectrum"
    [spectrum-meter]="Zembrit.plugin.view: spectrum
Zembrit.plugin.meter: true"
)
profiles=(wavein input spectrum spectrum-meter)
for profile in "${profiles[@]}"; do
    mkdir -p "$work/$profile"
    cp "$build/Zembrit.dll" "$work/$profile/"
    printf '%s\n' "${lines[$profile]}" >"$work/$profile/Zembrit.rc"
done

declare -A samples
for round in $(seq "$rounds"); do
    samples[wavein-floor]+="$(percent "$build/capture_floor.exe" "$seconds") "
    samples[wasapi-floor]+="$(percent "$build/wasapi_floor.exe" "$seconds") "
    for profile in "${profiles[@]}"; do samples[plugin-$profile]+="$(plugin_percent "$profile") "; done
    echo "round $round: ${samples[*]}"
done

for name in wavein-floor wasapi-floor "${profiles[@]/#/plugin-}"; do
    printf '%-21s median %s%% of one core over %s runs of %s s (%s)\n' "$name" \
        "$(median <<<"${samples[$name]}")" "$rounds" "$seconds" "${samples[$name]}"
done
for profile in input spectrum spectrum-meter; do
    printf 'plugin %s / plugin wavein = %s\n' "$profile" "$(awk -v a="$(median <<<"${samples[plugin-$profile]}")" \
        -v b="$(median <<<"${samples[plugin-wavein]}")" 'BEGIN {print (b > 0 ? sprintf("%.2f", a / b) : "n/a")}')"
done
