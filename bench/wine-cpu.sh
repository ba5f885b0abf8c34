# Sourced by the CPU harnesses, which set root, build, work, loader and
# seconds first and have started the Wine bench in $work/bench.

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
