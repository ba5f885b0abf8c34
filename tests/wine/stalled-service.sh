#!/usr/bin/env bash
# The stand-in shell captures from a private PulseAudio server that stops
# answering in the middle of the capture (SIGSTOP, as a hung audio service):
# eight toggles and a switch of source cost the shell's thread under a
# second in all and the plugin's end under three. The server answers again
# once the plugin has ended and the shell let go of it, as a hung service
# comes back; the calls the plugin left waiting then finish and the shell
# quits with status 0. (Quitting while the server is still stopped ends any
# Wine 8 program with a stream open in SIGSEGV, from winepulse's own timer
# thread, plugin or not.)
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
ensure_prefix || exit 1

toggles=()
for _ in 1 2 3 4 5 6 7 8; do toggles+=(--broadcast "@ZembritInternal AlwaysOnTop"); done
dllPath="Z:${run//\//\\}\\plugin\\Zembrit.dll"
timeout -k 5 60 "$WINELOADER" "$standin" --plugin "$dllPath" --time-actions --wait 3000 \
    "${toggles[@]}" --broadcast "@ZembritInternal SetSource $other" --quit --linger 3000 \
    >"$run/out.txt" 2>"$run/err.txt" &
shell=$!
sleep 2
"$root/scripts/pulse-bench.sh" stall "$run/pulse"
for _ in $(seq 200); do
    grep -q "the plugin's end took" "$run/out.txt" && break
    sleep 0.1
done
"$root/scripts/pulse-bench.sh" resume "$run/pulse"
wait "$shell"
status=$?
cat "$run/out.txt"

commands_ms=$(awk '/standin: --broadcast .* took/ { sum += $(NF - 1) } END { print sum + 0 }' "$run/out.txt")
end_ms=$(awk '/the plugin.s end took/ { print $(NF - 1) }' "$run/out.txt")
echo "exit status $status; 8 toggles and the switch: ${commands_ms} ms; the plugin's end: ${end_ms:-?} ms"
[ "$status" -eq 0 ] || { echo "FAIL: the shell did not quit cleanly"; exit 1; }
[ -n "$end_ms" ] && [ "$end_ms" -lt 3000 ] || { echo "FAIL: the plugin's end took too long"; exit 1; }
[ "$commands_ms" -lt 1000 ] || { echo "FAIL: the commands cost the shell's thread too long"; exit 1; }
