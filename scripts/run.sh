#!/usr/bin/env bash
# Builds the plugin and runs it in the stand-in shell: live on your display
# when there is one (for ZEMBRIT_RUN_SECONDS, default 60), otherwise on a
# private Xvfb. Either way it saves what the oscilloscope showed to
# out/zembrit.png and out/zembrit.gif. Audio comes from the machine's input
# device when it has one; else a private PulseAudio server plays a tone and
# the scope shows what it plays (else a generated tone in an ALSA file device).
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
# A larger scope than the default 100 x 25, so the pictures show detail.
cat >"$demo/plugin/Zembrit.rc" <<RC
Zembrit.plugin.x: 40
Zembrit.plugin.y: 40
Zembrit.plugin.width: 400
Zembrit.plugin.height: 100
Zembrit.plugin.wave.buffsize: 32
Zembrit.plugin.style.scopeWidth: 2
Zembrit.plugin.motionblur: true
RC

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

if [ -e /dev/snd/controlC0 ] || grep -q '^ *[0-9]' /proc/asound/cards 2>/dev/null; then
    echo "Recording from this machine's sound card."
elif "$root/scripts/pulse-bench.sh" up "$demo/pulse" >/dev/null; then
    echo "No sound card: a private PulseAudio server plays a tone; the scope shows what it plays."
    # Wine picks its PulseAudio driver when the server is reachable; the
    # server's default input is the monitor of the sink the tone plays into.
    export XDG_RUNTIME_DIR="$demo/pulse/runtime"
    echo "Zembrit.plugin.wave.source: input" >>"$demo/plugin/Zembrit.rc"
else
    echo "No sound card: playing a generated tone into the default input."
    export HOME="$demo/home"
    mkdir -p "$HOME"
    "$root/tests/wine/make-tone.sh" "$demo/tone.raw"
    cat >"$HOME/.asoundrc" <<ALSA
pcm.!default {
  type file
  slave.pcm "null"
  file "/dev/null"
  infile "$demo/tone.raw"
  format "raw"
}
ALSA
fi
[ -f "$WINEPREFIX/system.reg" ] || "$WINELOADER" wineboot -i >/dev/null 2>&1

actions=(--wait 1500 --screenshot "$(windows_path "$demo/shot.bmp")" --frames 24 80 "$(windows_path "$demo/frame")")
if [ "$live" = 1 ]; then
    actions+=(--wait "$(( ${ZEMBRIT_RUN_SECONDS:-60} * 1000 ))" --quit)
    interactive=(--interactive)
else
    actions+=(--quit)
    interactive=()
fi
rm -f "$demo"/frame-*.bmp "$demo/shot.bmp"
(cd "$demo/shell" && "$WINELOADER" standin.exe --plugin "$(windows_path "$demo/plugin/Zembrit.dll")" "${interactive[@]}" "${actions[@]}") \
    2>"$demo/wine.log"

convert "$demo/shot.bmp" "$out/zembrit.png"
convert -delay 8 -loop 0 "$demo"/frame-*.bmp "$out/zembrit.gif"
echo "Saved $out/zembrit.png and $out/zembrit.gif"
