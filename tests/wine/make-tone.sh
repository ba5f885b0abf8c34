#!/usr/bin/env bash
# Writes the test signal: 16-bit little-endian mono at 16 kHz, a 440 Hz
# tone with a quieter fifth above it whose loudness swells and fades twice
# a second, so the trace keeps changing shape. Four seconds repeat for two
# minutes, more than any test or demo run reads.
# With "float" as the second argument: the same tone as 32-bit float stereo
# at 48 kHz, the mix format Wine's WASAPI capture opens an ALSA device in,
# repeated for forty seconds.
# With "ring": 16-bit stereo at 16 kHz, one 440 Hz sine with the left channel
# a quarter period ahead, whose X-Y figure is a circle, for a minute.
# With "noise": the float format, each sample full scale with a random sign
# (a second of it repeated for two and a half minutes), whose every X-Y
# stroke crosses the figure: the costliest input a paint can get.
set -eu
perl -e '
    my $float = ($ARGV[0] // "") eq "float";
    my $rate = $float ? 48000 : 16000; my $pi = 3.14159265358979;
    binmode STDOUT;
    if (($ARGV[0] // "") eq "noise") {
        srand(20061);
        my $second = pack("f<*", map { rand() < 0.5 ? -1 : 1 } 1 .. 2 * 48000);
        print $second for 1 .. 150;
        exit;
    }
    if (($ARGV[0] // "") eq "ring") {
        my @pairs = map { my $a = 2 * $pi * 440 * $_ / $rate; (int(20000 * cos($a)), int(20000 * sin($a))) } 0 .. $rate - 1;
        my $second = pack("s<*", @pairs);
        print $second for 1 .. 60;
        exit;
    }
    my @samples;
    for my $n (0 .. 4 * $rate - 1) {
        my $t = $n / $rate;
        my $swell = 0.55 + 0.45 * sin(2 * $pi * 2 * $t);
        push @samples, int(9000 * sin(2 * $pi * 440 * $t) + 7000 * $swell * sin(2 * $pi * 660 * $t));
    }
    my $block = $float ? pack("f<*", map { ($_ / 32768) x 2 } @samples) : pack("s<*", @samples);
    print $block for 1 .. ($float ? 10 : 30);
' "${2:-}" >"$1"
