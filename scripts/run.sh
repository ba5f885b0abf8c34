#!/usr/bin/env bash
# Builds the plugin and runs it in the stand-in shell: live on your display
# when there is one (for ZEMBRIT_RUN_SECONDS, default 60), otherwise on a
# private Xvfb. Either way it saves what the oscilloscope showed to
# out/zembrit.png and out/zembrit.gif, then one picture per display mode:
# out/zembrit-mono.png (trigger rising), out/zembrit-stereo.png and
# out/zembrit-xy.png, the trace drawn as a beam: out/zembrit-beam.png and
# out/zembrit-xy-beam.png, and the spectrum with the level meter:
# out/zembrit-bars.png and out/zembrit-bars-stereo.png. Audio comes from the
# machine's input device when it has one; else a private PulseAudio server
# plays a tone and the scope shows what it plays (else a generated tone in an
# ALSA file device). The stereo and X-Y
# pictures are of a tone whose channels are a quarter period apart, so the
# X-Y figure is a ring.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" demo
"$root/scripts/build.sh" win64

build="$root/build/win64"
demo="$root/build/demo"
out="$root/out"
rm -rf "$demo/plugin" "$demo/shell"
mkdir -p "$demo/plugin" "$demo/shell" "$out"
cp "$build/Zembrit.dll" "$demo/plugin/"
cp "$build/standin.exe" "$build/default.style" "$demo/shell/"

export WINEPREFIX="$demo/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=/usr/lib/wine/wine64
xvfb_pid=""
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
cleanup() {
    /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    "$root/scripts/pulse-bench.sh" down "$demo/pulse" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    live=1
else
    live=0
    exec 3>"$demo/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$demo/xvfb.log" 2>&1 </dev/null &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$demo/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(tr -d '\n' <"$demo/display")"
fi

# Points the ALSA default input at a generated tone file.
alsa_input() {
    cat >"$HOME/.asoundrc" <<ALSA
pcm.!default {
  type file
  slave.pcm "null"
  file "/dev/null"
  infile "$1"
  format "raw"
}
ALSA
}

audio_settings=()
if [ -e /dev/snd/controlC0 ] || grep -q '^ *[0-9]' /proc/asound/cards 2>/dev/null; then
    audio=card
    echo "Recording from this machine's sound card."
elif "$root/scripts/pulse-bench.sh" up "$demo/pulse" chord >/dev/null; then
    audio=pulse
    echo "No sound card: a private PulseAudio server plays a tone; the scope shows what it plays."
    # Wine picks its PulseAudio driver when the server is reachable; the
    # server's default input is the monitor of the sink the tone plays into.
    export XDG_RUNTIME_DIR="$demo/pulse/runtime"
    audio_settings=("Zembrit.plugin.wave.source: input")
else
    audio=alsa
    echo "No sound card: playing a generated tone into the default input."
    export HOME="$demo/home"
    mkdir -p "$HOME"
    "$root/tests/wine/make-tone.sh" "$demo/chord.raw"
    "$root/tests/wine/make-tone.sh" "$demo/ring.raw" ring
    alsa_input "$demo/chord.raw"
fi

# Switches the generated input to the chord or the ring tone; a sound card
# is left as it is.
play() {
    case "$audio" in
        pulse) "$root/scripts/pulse-bench.sh" up "$demo/pulse" "$1" >/dev/null ;;
        alsa) alsa_input "$demo/$1.raw" ;;
    esac
}

# Writes the scope's settings: its size, then any further lines. Larger than
# the default 100 x 25, so the pictures show detail.
settings() {
    cat >"$demo/plugin/Zembrit.rc" <<RC
Zembrit.plugin.x: 40
Zembrit.plugin.y: 40
Zembrit.plugin.width: $1
Zembrit.plugin.height: $2
Zembrit.plugin.wave.buffsize: 32
Zembrit.plugin.style.scopeWidth: 2
RC
    printf '%s\n' "${@:3}" "${audio_settings[@]}" >>"$demo/plugin/Zembrit.rc"
}

# Runs the stand-in shell with the plugin through the given actions.
show() {
    (cd "$demo/shell" && "$WINELOADER" standin.exe --plugin "$(windows_path "$demo/plugin/Zembrit.dll")" "$@") \
        2>>"$demo/wine.log"
}

[ -f "$WINEPREFIX/system.reg" ] || "$WINELOADER" wineboot -i >/dev/null 2>&1
rm -f "$demo"/*.bmp "$demo/wine.log"

animation=(--wait 3000 --screenshot "$(windows_path "$demo/shot.bmp")" --frames 24 80 "$(windows_path "$demo/frame")")
if [ "$live" = 1 ]; then
    animation=(--interactive "${animation[@]}" --wait "$(( ${ZEMBRIT_RUN_SECONDS:-60} * 1000 ))")
fi
settings 400 100 "Zembrit.plugin.motionblur: true"
show "${animation[@]}" --quit

# The mode pictures are square, so that the X-Y ring is round, and without
# trails, which would show the trigger's other crossings of the chord. A
# capture in a later run of the shell may take two seconds to deliver.
settings 200 200 "Zembrit.plugin.trigger: rising"
show --wait 3000 --screenshot "$(windows_path "$demo/mono.bmp")" --quit
play ring
settings 200 200 "Zembrit.plugin.trigger: rising" "Zembrit.plugin.channels: stereo"
show --wait 3000 --screenshot "$(windows_path "$demo/stereo.bmp")" \
    --broadcast "@ZembritInternal SetChannels xy" --wait 1000 --screenshot "$(windows_path "$demo/xy.bmp")" \
    --broadcast "@ZembritInternal Beam" --wait 1500 --screenshot "$(windows_path "$demo/xy-beam.bmp")" --quit
# The trace as a beam, with the glow that motion blur's alpha sets.
settings 400 100 "Zembrit.plugin.style.beam: true" "Zembrit.plugin.motionblur: true"
show --wait 3000 --screenshot "$(windows_path "$demo/beam.bmp")" --quit
# The spectrum with the level meter along its base: of the ring's stereo
# tone, each channel's bars, then of the chord. The tone's sudden start
# lights every band for a moment; the pictures wait until the peak marks it
# left have fallen.
settings 200 200 "Zembrit.plugin.view: spectrum" "Zembrit.plugin.meter: true" "Zembrit.plugin.channels: stereo"
show --wait 6000 --screenshot "$(windows_path "$demo/bars-stereo.bmp")" --quit
play chord
settings 400 100 "Zembrit.plugin.view: spectrum" "Zembrit.plugin.meter: true"
show --wait 6000 --screenshot "$(windows_path "$demo/bars.bmp")" --quit

convert "$demo/shot.bmp" "$out/zembrit.png"
convert -delay 8 -loop 0 "$demo"/frame-*.bmp "$out/zembrit.gif"
for mode in mono stereo xy xy-beam beam bars bars-stereo; do
    convert "$demo/$mode.bmp" "$out/zembrit-$mode.png"
done
echo "Saved $out/zembrit.png, $out/zembrit.gif and $out/zembrit-{mono,stereo,xy,xy-beam,beam,bars,bars-stereo}.png"
