#!/usr/bin/env bash
# Starts what the Wine tests need: a private Xvfb, a persistent Wine server,
# and an ALSA default device that plays a generated tone into wave-in.
# ZEMBRIT_SCREEN sets the screen (1280x1024x24 unless given); the benchmarks
# need one wider than their widest window. ZEMBRIT_LOG_PIXELS, when given,
# sets the prefix's display DPI (Wine reads it as each program starts).
set -eu
here=$(dirname "$(readlink -f "$0")")
"$here/bench-down.sh" "$1" "${2:-}" || true
. "$here/wine-env.sh" "$1" "${2:-}"
unset DISPLAY
ensure_prefix || exit 1
if [ -n "${ZEMBRIT_LOG_PIXELS:-}" ]; then
    "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$ZEMBRIT_LOG_PIXELS" /f \
        >/dev/null 2>&1 </dev/null
    /usr/lib/wine/wineserver64 -w
fi

"$here/make-tone.sh" "$bench_dir/tone.raw"
"$here/make-tone.sh" "$bench_dir/tone-float.raw" float
cat >"$HOME/.asoundrc" <<ALSA
pcm.!default {
  type file
  slave.pcm "null"
  file "/dev/null"
  infile "$bench_dir/tone.raw"
  format "raw"
}
pcm.zembrit_float {
  type file
  slave.pcm "null"
  file "/dev/null"
  infile "$bench_dir/tone-float.raw"
  format "raw"
}
ALSA

rm -f "$bench_dir/display"
exec 3>"$bench_dir/display.tmp"
Xvfb -displayfd 3 -screen 0 "${ZEMBRIT_SCREEN:-1280x1024x24}" -nolisten tcp >"$bench_dir/xvfb.log" 2>&1 </dev/null &
echo $! >"$bench_dir/xvfb.pid"
exec 3>&-
for _ in $(seq 600); do
    [ -s "$bench_dir/display.tmp" ] && break
    sleep 0.1
done
[ -s "$bench_dir/display.tmp" ] || { echo "Xvfb did not start within a minute"; cat "$bench_dir/xvfb.log"; exit 1; }
tr -d '\n' <"$bench_dir/display.tmp" >"$bench_dir/display"
rm -f "$bench_dir/display.tmp"
export DISPLAY=":$(cat "$bench_dir/display")"

/usr/lib/wine/wineserver64 -p >"$bench_dir/wineserver.log" 2>&1 </dev/null &
echo $! >"$bench_dir/wineserver.pid"
# Wine's own service processes and desktop start with the first program
# that makes a window and outlive it; start them here, away from the test
# runner's output pipes, which they would otherwise hold open.
# Wine's desktop process sometimes exits at once on a fresh server; every
# window would then fail, so make sure this prefix's desktop is up.
desktop_running() {
    local pid
    for pid in $(pgrep -f 'explorer.exe /desktop'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}
for _ in 1 2 3; do
    timeout 60 "$WINELOADER" rundll32.exe user32.dll,MessageBeep >/dev/null 2>&1 </dev/null || true
    desktop_running && break
    sleep 1
done
desktop_running || { echo "Wine's desktop did not start"; exit 1; }
set_in_prefix() {
    "$WINELOADER" reg add "$@" /f >/dev/null 2>&1 </dev/null || { echo "Wine's registry refused: reg add $*"; exit 1; }
}
# Xvfb runs no window manager, and Wine waits two seconds for one to take
# back each managed window that goes away (every shell a test makes and
# ends): the test programs' windows are left unmanaged and go at once. The
# stand-in shell program keeps Wine's default: unmanaged, it crashed in
# Wine's PulseAudio driver when its plugin ended while the server was stopped.
set_in_prefix 'HKCU\Software\Wine\AppDefaults\integration_tests.exe\X11 Driver' /v Managed /t REG_SZ /d N
# The float tone as a second input ("In: zembrit_float") for the WASAPI
# tests, which name it; the default input stays the 16-bit tone.
set_in_prefix 'HKCU\Software\Wine\Drivers\winealsa.drv' /v ALSAInputDevices /t REG_MULTI_SZ /d zembrit_float
echo "Xvfb on :$(cat "$bench_dir/display"), prefix $WINEPREFIX"
