#!/usr/bin/env bash
# A private PulseAudio server for demos and CPU measurements: a null sink
# plays a tone, and the sink's monitor is the default source, so capture
# is paced in real time as on a user's machine (the ALSA file device runs
# about three times faster). Runs as root with PulseAudio's warning.
#   scripts/pulse-bench.sh up DIR [chord|ring|silence]
#                                     starts it; programs reach it with
#                                     XDG_RUNTIME_DIR=DIR/runtime
#   scripts/pulse-bench.sh down DIR   stops what up started, by process id
#                                     (a stalled server too)
#   scripts/pulse-bench.sh stall DIR  stops the server with SIGSTOP, as an
#                                     audio service that hangs: its clients'
#                                     calls block until it resumes
#   scripts/pulse-bench.sh resume DIR lets a stalled server go on (SIGCONT)
set -euo pipefail
action=$1
tone=${3:-chord}
case "$tone" in chord | ring | silence) ;; *) echo "unknown tone $tone" >&2; exit 2 ;; esac
dir=$(mkdir -p "$2" && cd "$2" && pwd)
export XDG_RUNTIME_DIR="$dir/runtime" HOME="$dir/home"

signal_server() {
    [ -f "$dir/pulse.pid" ] || { echo "no PulseAudio started in $dir" >&2; exit 1; }
    kill "-$1" "$(cat "$dir/pulse.pid")"
}

# A stopped process keeps SIGTERM pending, so it is continued as well.
stop_pid() {
    [ -f "$dir/$1.pid" ] || return 0
    kill -TERM "$(cat "$dir/$1.pid")" 2>/dev/null || true
    kill -CONT "$(cat "$dir/$1.pid")" 2>/dev/null || true
    rm -f "$dir/$1.pid"
}

case "$action" in
    down)
        stop_pid tone
        stop_pid pulse
        exit 0 ;;
    stall) signal_server STOP; exit 0 ;;
    resume) signal_server CONT; exit 0 ;;
    up) ;;
    *) echo "unknown action $action (up, down, stall or resume)" >&2; exit 2 ;;
esac

"$0" down "$dir"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --load="module-null-sink sink_name=zembrit_sink" \
    --load="module-native-protocol-unix auth-anonymous=1" >"$dir/pulse.log" 2>&1 </dev/null &
echo $! >"$dir/pulse.pid"
# A busy machine may take seconds; a server that exited will not come.
for _ in $(seq 600); do
    pactl info >/dev/null 2>&1 && break
    kill -0 "$(cat "$dir/pulse.pid")" 2>/dev/null || break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start within a minute:" >&2; cat "$dir/pulse.log" >&2; exit 1; }
pactl set-default-source zembrit_sink.monitor || { echo "PulseAudio has no zembrit_sink.monitor" >&2; exit 1; }
# Silence: nothing plays, and the monitor delivers zeros.
if [ "$tone" = silence ]; then
    echo "PulseAudio up: XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR"
    exit 0
fi
# An endless tone, 16-bit stereo at 44.1 kHz: the chord is 440 Hz with a
# quieter fifth in both channels; the ring one 440 Hz sine, the left channel
# a quarter period ahead, so that its X-Y figure is a circle.
perl -e '
    my $ring = $ARGV[0] eq "ring";
    my $rate = 44100; my $pi = 3.14159265358979;
    binmode STDOUT;
    my @one;
    for my $n (0 .. $rate - 1) {
        my $t = $n / $rate;
        my $v = int(9000 * sin(2 * $pi * 440 * $t) + 5000 * sin(2 * $pi * 660 * $t));
        push @one, $ring ? (int(20000 * cos(2 * $pi * 440 * $t)), int(20000 * sin(2 * $pi * 440 * $t))) : ($v, $v);
    }
    my $second = pack("s<*", @one);
    print $second while 1;
' "$tone" 2>/dev/null | pacat --raw --format=s16le --rate=44100 --channels=2 --device=zembrit_sink \
    >"$dir/tone.log" 2>&1 &
echo $! >"$dir/tone.pid"
echo "PulseAudio up: XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR"
