#!/usr/bin/env bash
# Stops what bench-up.sh started, by process id.
set -u
. "$(dirname "$0")/wine-env.sh" "$1" "${2:-}"
[ -d "$WINEPREFIX" ] && /usr/lib/wine/wineserver64 -k 2>/dev/null
for name in wineserver xvfb; do
    pid_file="$bench_dir/$name.pid"
    if [ -f "$pid_file" ]; then
        kill "$(cat "$pid_file")" 2>/dev/null
        rm -f "$pid_file"
    fi
done
rm -f "$bench_dir/display"
exit 0
