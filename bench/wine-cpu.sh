# Sourced by the CPU harnesses, which set root, build, loader and seconds
# first, and work (with the Wine bench started in $work/bench) or call
# start_pulse_measurement.

# A fresh $build/NAME as work with the Wine bench started in it, Wine
# pointed at a PulseAudio server in $work/pulse; on exit both are stopped.
start_pulse_measurement() {
    work="$build/$1"
    rm -rf "$work"
    mkdir -p "$work"
    trap '"$root/tests/wine/bench-down.sh" "$work/bench" "$loader"; "$root/scripts/pulse-bench.sh" down "$work/pulse"' EXIT
    "$root/tests/wine/bench-up.sh" "$work/bench" "$loader" >/dev/null
    # Wine picks its PulseAudio driver when the server is reachable.
    export XDG_RUNTIME_DIR="$work/pulse/runtime"
}

# Prints the percentage of one core from the program's "cpu:" line.
percent() { "$root/tests/wine/wine-run.sh" "$work/bench" "$loader" "$@" 2>/dev/null |
    sed -n 's/^cpu: .* = \([0-9.]*\)% of one core.*/\1/p'; }

# The stand-in shell with the plugin copied into $work/$1, measured for
# $seconds after two seconds of start-up.
plugin_percent() {
    percent "$build/standin.exe" --plugin "Z:${work//\//\\}\\$1\\Zembrit.dll" --wait 2000 \
        --measure-cpu "$seconds" --quit
}

# The median of the numbers on standard input, separated by spaces.
median() { tr ' ' '\n' | grep . | sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
