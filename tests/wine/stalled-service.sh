#!/usr/bin/env bash
# The stand-in shell captures from a private PulseAudio server that stops
# answering in the middle of the capture (SIGSTOP, as a hung audio service):
# eight toggles, a switch of source and the plugin's end each return within
# the command's bound (3 s), never waiting on the stopped server (a hang
# would last until the server answers, half a minute later; each is given
# 6 s, time enough on a busy machine). The stall outlasts the end: the shell
# lets go of the plugin and goes on for 3 s with the server still stopped
# and calls of the plugin's left waiting in it, as a shell does while a hung
# service comes back; then the server answers, those calls finish, and the
# shell quits with status 0.
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
# The switch meets the stopped server: stopping wave-in, or starting it
# behind the WASAPI engine's stop, does not answer in time.
case "$source" in
    wavein) other=input felt="Can't close WAVE In Device!" ;;
    *) other=wavein felt="Can't open WAVE In Device!" ;;
esac
hang_ms=6000

"$root/scripts/pulse-bench.sh" up "$run/pulse" >/dev/null || { echo "FAIL: the PulseAudio bench did not start"; exit 1; }
trap '"$root/scripts/pulse-bench.sh" down "$run/pulse"' EXIT
export XDG_RUNTIME_DIR="$run/pulse/runtime"
ensure_prefix || exit 1

# Polls the shell's output for a line, for at most the given seconds.
await_line() {
    for _ in $(seq $(($2 * 10))); do
        grep -q "$1" "$run/out.txt" && return 0
        sleep 0.1
    done
    return 1
}

toggles=()
for _ in 1 2 3 4 5 6 7 8; do toggles+=(--broadcast "@ZembritInternal AlwaysOnTop"); done
winPath() { echo "Z:${1//\//\\}"; }
# The shell starts the plugin, lets it capture for a second, and goes on
# once the server is stopped. The linger is an option: it must come before
# the first action.
timeout -k 5 100 "$WINELOADER" "$standin" --plugin "$(winPath "$run/plugin/Zembrit.dll")" --time-actions \
    --linger 6000 --wait 1000 --wait-for "$(winPath "$run/stopped")" "${toggles[@]}" \
    --broadcast "@ZembritInternal SetSource $other" --quit >"$run/out.txt" 2>"$run/err.txt" &
shell=$!
await_line "wait 1000 took" 60 || echo "FAIL: the shell did not start the plugin within a minute"
"$root/scripts/pulse-bench.sh" stall "$run/pulse"
touch "$run/stopped"
await_line "the plugin's end took" 30
sleep 3
kill -0 "$shell" 2>/dev/null && went_on=yes || went_on=no
"$root/scripts/pulse-bench.sh" resume "$run/pulse"
wait "$shell"
status=$?
cat "$run/out.txt" "$run/err.txt"

slowest_ms=$(awk '/standin: --broadcast .* took/ { if ($(NF - 1) > m) m = $(NF - 1) } END { print m + 0 }' "$run/out.txt")
end_ms=$(awk '/the plugin.s end took/ { print $(NF - 1) }' "$run/out.txt")
echo "exit status $status; the slowest command: ${slowest_ms} ms; the plugin's end: ${end_ms:-?} ms"
[ "$went_on" = yes ] || { echo "FAIL: the shell did not go on through the stall after the plugin's end"; exit 1; }
[ "$status" -eq 0 ] || { echo "FAIL: the shell did not quit cleanly"; exit 1; }
grep -qF "message box: $felt" "$run/out.txt" || { echo "FAIL: the switch did not meet the stopped server"; exit 1; }
[ -n "$end_ms" ] && [ "$end_ms" -lt "$hang_ms" ] || { echo "FAIL: the plugin's end waited on the stopped server"; exit 1; }
[ "$slowest_ms" -lt "$hang_ms" ] || { echo "FAIL: a command waited on the stopped server"; exit 1; }
