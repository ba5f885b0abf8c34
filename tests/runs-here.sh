#!/usr/bin/env bash
# Tells whether a Linux program runs on this machine: exits 0 when it does,
# 77 when the kernel refuses it as a 32-bit program (the reason on stdout),
# and 1 when it fails for another reason (its output on stderr).
set -u
if output=$("$@" 2>&1); then exit 0; fi
case "$output" in
    *"Exec format error"*)
        echo "this kernel refuses 32-bit Linux programs (Exec format error running $1)"
        exit 77 ;;
esac
printf '%s failed: %s\n' "$*" "$output" >&2
exit 1
