#!/usr/bin/env bash
# Runs one Windows program of the test suite under Wine with the bench's
# prefix, display and audio input; a hung program is killed, never waited for.
set -u
. "$(dirname "$0")/wine-env.sh" "$1" "$2"
shift 2
ensure_prefix || exit 1
limit=${ZEMBRIT_WINE_TIMEOUT:-110}
timeout -k 5 "$limit" "$WINELOADER" "$@"
status=$?
case "$status" in 124 | 137) echo "killed after ${limit}s: $(basename "$1") did not finish" ;; esac
exit "$status"
