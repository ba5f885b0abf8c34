#!/usr/bin/env bash
# The stand-in shell captures from a private PulseAudio server that stops
# answering in the middle of the capture (SIGSTOP, as a hung audio service):
# eight toggles and a switch of source cost the shell's thread no more than
# the switch's bound (3 s) and a margin for a busy machine, and the plugin's
# end, which meets a stall already known, under three. The stall outlasts
# the end: the shell lets go of the plugin and goes on for 3 s with the
# server still stopped and calls of the plugin's left waiting in it, as a
# shell does while a hung service comes back; then the server answers, those
# calls finish, and the shell quits with status 0.
# A program that exits while the server is still stopped dies in SIGSEGV
# under Wine 8, plugin or not: a plugin-free program making the plugin's
# wave-in or WASAPI calls on its threads died so at exit 6 times in 6, in a
# thread ending inside Wine's system-call dispatcher, and never (6 in 6)
# while it went on; so the shell quits only once the server answers.
#   stalled-service.sh BENCH_DIR WINE_LOADER STANDIN_EXE PLUGIN_DLL SOURCE
set -u
here=$(dirname "$(readlink -f "$0")")
. "$here/wine-env.sh" "$1" "$2"
standin=$3 dll=$4 source=$5
root=$(cd "$here/../.." && pwd)
run="$bench_dir/stalled-$source"
rm -rf "$run" && mkdir -p "$run/plugin"
cp "$dll" "$run/plugin/"
printf 'Zembrit.plugin.wave.source: %s\n' "$source" >"$run/plugin/Zembrit.rc"
case "$source" in wavein) other=input ;; *) other=wavein ;; esac

"$root/scripts/pulse-bench.sh" up "$run/pulse" >/dev/null || exit 1
trap '"$root/scripts/pulse-bench.sh" down "$run/pulse"' EXIT
export XDG_RUNTIME_DIR="$run/pulse/runtime"
ensure_prefix

toggles=()
for _ in 1 2 3 4 5 6 7 8; do toggles+=(--broadcast "@ZembritInternal AlwaysOnTop"); done
dllPath="Z:${run//\//\\}\\plugin\\Zembrit.dll"
# The linger is an option: it must come before the first action.
timeout -k 5 60 "$WINELOADER" "$standin" --plugin "$dllPath" --time-actions --linger 6000 --wait 3000 \
    "${toggles[@]}" --broadcast "@ZembritInternal SetSource $other" --quit \
    >"$run/out.txt" 2>"$run/err.txt" &
shell=$!
sleep 2
"$root/scripts/pulse-bench.sh" stall "$run/pulse"
for _ in $(seq 200); do
    grep -q "the plugin's end took" "$run/out.txt" && break
    sleep 0.1
done
sleep 3
kill -0 "$shell" 2>/dev/null && went_on=yes || went_on=no
"$root/scripts/pulse-bench.sh" resume "$run/pulse"
wait "$shell"
status=$?
cat "$run/out.txt"

commands_ms=$(awk '/standin: --broadcast .* took/ { sum += $(NF - 1) } END { print sum + 0 }' "$run/out.txt")
end_ms=$(awk '/the plugin.s end took/ { print $(NF - 1) }' "$run/out.txt")
echo "exit status $status; 8 toggles and the switch: ${commands_ms} ms; the plugin's end: ${end_ms:-?} ms"
[ "$went_on" = yes ] || { echo "FAIL: the shell did not go on through the stall after the plugin's end"; exit 1; }
[ "$status" -eq 0 ] || { echo "FAIL: the shell did not quit cleanly"; exit 1; }
[ -n "$end_ms" ] && [ "$end_ms" -lt 3000 ] || { echo "FAIL: the plugin's end took too long"; exit 1; }
[ "$commands_ms" -lt 6000 ] || { echo "FAIL: the commands cost the shell's thread too long"; exit 1; }
