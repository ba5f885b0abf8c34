#!/usr/bin/env bash
# Runs one Windows program of the test suite under Wine with the bench's
# prefix, display and audio input; a hung program is killed, never waited for.
set -u
. "$(dirname "$0")/wine-env.sh" "$1" "$2"
shift 2
ensure_prefix || exit 1
exec timeout -k 5 "${ZEMBRIT_WINE_TIMEOUT:-110}" "$WINELOADER" "$@"
