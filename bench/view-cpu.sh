#!/usr/bin/env bash
# CPU cost of the spectrum view against the trace view at the defaults,
# paced in real time by a private PulseAudio server (scripts/pulse-bench.sh)
# that plays a tone into its default source: the stand-in shell with the
# plugin recording through wave-in, each profile differing from the defaults
# only in the lines below. Alternated over several rounds; medians reported.
# Needs a built win64 tree.
#   bench/view-cpu.sh [seconds] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
rounds=${2:-3}
build="$root/build/win64"
loader=/usr/lib/wine/wine64
# shellcheck source=bench/wine-cpu.sh
. "$root/bench/wine-cpu.sh"
start_pulse_measurement view-cpu
"$root/scripts/pulse-bench.sh" up "$work/pulse" >/dev/null

declare -A lines=(
    [trace]=""
    [spectrum]="Zembrit.plugin.view: spectrum"
    [spectrum-meter]="Zembrit.plugin.view: spectrum
Zembrit.plugin.meter: true"
)
profiles=(trace spectrum spectrum-meter)
for profile in "${profiles[@]}"; do
    mkdir -p "$work/$profile"
    cp "$build/Zembrit.dll" "$work/$profile/"
    printf '%s\n' "${lines[$profile]}" >"$work/$profile/Zembrit.rc"
done

declare -A samples
for round in $(seq "$rounds"); do
    for profile in "${profiles[@]}"; do samples[$profile]+="$(plugin_percent "$profile") "; done
    echo "round $round: ${samples[*]}"
done

for profile in "${profiles[@]}"; do
    printf '%-16s median %s%% of one core over %s runs of %s s (%s)\n' "$profile" \
        "$(median <<<"${samples[$profile]}")" "$rounds" "$seconds" "${samples[$profile]}"
done
for profile in spectrum spectrum-meter; do
    printf '%s / trace = %s\n' "$profile" "$(awk -v a="$(median <<<"${samples[$profile]}")" \
        -v b="$(median <<<"${samples[trace]}")" 'BEGIN {print (b > 0 ? sprintf("%.2f", a / b) : "n/a")}')"
done
