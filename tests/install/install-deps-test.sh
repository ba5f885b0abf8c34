#!/usr/bin/env bash
# scripts/install-deps.sh in a sandbox: dpkg, dpkg-query, id and the apt-get
# behind the failing stand-in of bin/ are fakes, so it needs no root or
# network and installs nothing.
set -u
# Each case sets the stand-in's faults itself, whatever the caller's were.
unset ZEMBRIT_APT_UPDATE_FAILS ZEMBRIT_APT_REFUSE ZEMBRIT_APT_UPDATE_TRIES ZEMBRIT_APT_UPDATE_PAUSE ZEMBRIT_KERNEL_RUNS_32BIT
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
here="$root/tests/install"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# install CASE PURPOSE MISSING...: runs the script with those packages
# missing, leaving $output and $status.
install() {
    export ZEMBRIT_SANDBOX="$work/$1"
    local purpose=$2
    shift 2
    mkdir -p "$ZEMBRIT_SANDBOX"
    printf '%s\n' "$@" >"$ZEMBRIT_SANDBOX/missing"
    : >"$ZEMBRIT_SANDBOX/apt.log"
    output=$(PATH="$here/bin:$here/sandbox:$PATH" ZEMBRIT_APT_GET="$here/sandbox/apt-get" \
        ZEMBRIT_APT_UPDATE_PAUSE=0 "$root/scripts/install-deps.sh" "$purpose" 2>&1)
    status=$?
}
fail() {
    echo "FAIL $ZEMBRIT_SANDBOX: $1"
    echo "$output" | sed 's/^/    /'
    failed=1
}
expect_status() { [ "$status" "$1" 0 ] || fail "exit status $status"; }
expect_output() { grep -qF -- "$1" <<<"$output" || fail "no \"$1\" in the output"; }
expect_still_missing() {
    local left
    left=$(grep -v '^$' "$ZEMBRIT_SANDBOX/missing" | paste -sd ' ')
    [ "$left" = "$*" ] || fail "left missing: [$left], expected [$*]"
}
expect_apt_calls() {
    local calls
    calls=$(grep -c -- "$1" "$ZEMBRIT_SANDBOX/apt.log")
    [ "$calls" -eq "$2" ] || fail "$calls apt-get calls matching \"$1\", expected $2"
}

ZEMBRIT_APT_UPDATE_FAILS=1 ZEMBRIT_APT_UPDATE_TRIES=4 install update-fails test zip wine32:i386
expect_status -eq
expect_output "apt-get update failed 4 times; going on with the package lists this machine has."
tries=$(grep -c "Mirror sync in progress" <<<"$output")
[ "$tries" -eq 4 ] || fail "apt-get update tried $tries times, expected 4"
expect_apt_calls '^install .* zip$' 1
expect_still_missing wine32:i386

ZEMBRIT_KERNEL_RUNS_32BIT=yes ZEMBRIT_APT_REFUSE='*:i386' install i386-refused wine32 zip wine32:i386
expect_status -eq
expect_output "Could not install wine32:i386: the i686 Wine runs will be skipped."
expect_apt_calls '^update' 1
expect_still_missing zip wine32:i386
grep -qx i386 "$ZEMBRIT_SANDBOX/architectures" || fail "i386 was not added as an architecture"

ZEMBRIT_KERNEL_RUNS_32BIT=no install kernel-refuses-32bit wine32 wine32:i386
expect_status -eq
expect_output "Not installing wine32:i386 libasound2-plugins:i386: 32-bit programs do not run here"
expect_apt_calls . 0
expect_still_missing wine32:i386

ZEMBRIT_APT_REFUSE='zip' install package-refused test zip qemu-user-static
expect_status -ne
expect_output "Could not install: qemu-user-static zip"
expect_still_missing zip qemu-user-static

install demo-needs-nothing demo g++-multilib g++-mingw-w64-i686 wine32:i386
expect_status -eq
expect_apt_calls . 0

[ "$failed" -eq 0 ] && echo "install-deps.sh: all cases passed"
exit "$failed"
