#!/usr/bin/env bash
# Writes the test signal: 16-bit little-endian mono, a 440 Hz tone at
# 16 kHz, loud enough to swing the trace, long enough for any test run
# even when read at 44 kHz.
set -eu
perl -e '
    my $rate = 16000; my $seconds = 600;
    binmode STDOUT;
    my $period = pack("s<*", map { int(12000 * sin(2 * 3.14159265 * 440 * $_ / $rate)) } 0 .. $rate - 1);
    print $period for 1 .. $seconds;
' >"$1"
