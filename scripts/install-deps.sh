#!/usr/bin/env bash
# Installs, as root on Debian 12, what one purpose needs and the machine does
# not have yet; safe to run again, it only calls apt-get when something is
# missing.
#   scripts/install-deps.sh demo     the x86_64 build and the demo
#   scripts/install-deps.sh test     the other builds and tools of the tests
#   scripts/install-deps.sh wine32   the i386 Wine runtime for the i686 Wine
#                                    runs, apart so that the test command
#                                    can install it while it builds
# A failing package index is tried again a few times, then the lists the
# machine has are used. Only the i386 Wine runtime may fail to install: the
# i686 programs are still built and their Wine runs are skipped. It is not
# installed at all where the kernel refuses 32-bit programs: there
# /usr/bin/wine would pick the 32-bit loader, which cannot start, and every
# program run through it would fail, 64-bit ones included.
set -euo pipefail
purpose=${1:-test}

demo_packages=(
    cmake make g++ perl
    g++-mingw-w64-x86-64 googletest libkissfft-dev
    wine wine64
    xvfb xauth x11-utils
    imagemagick
    pulseaudio pulseaudio-utils
)
test_packages=(
    "${demo_packages[@]}"
    g++-multilib qemu-user-static
    g++-mingw-w64-i686
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    zip unzip
)
# The i386 ALSA plug-ins: without them 32-bit Wine's ALSA cannot read the
# machine's ALSA configuration, which names the 64-bit ones, and finds no
# devices at all.
optional_packages=(wine32:i386 libasound2-plugins:i386)
update_tries=${ZEMBRIT_APT_UPDATE_TRIES:-3}
update_pause=${ZEMBRIT_APT_UPDATE_PAUSE:-10}

case "$purpose" in
    demo) required=("${demo_packages[@]}") optional=() ;;
    test) required=("${test_packages[@]}") optional=() ;;
    wine32) required=() optional=("${optional_packages[@]}") ;;
    *) echo "usage: $0 demo|test|wine32" >&2; exit 2 ;;
esac

installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" = "install ok installed" ]
}
missing_of() {
    local package
    for package in "$@"; do installed "$package" || echo "$package"; done
}

update_lists() {
    local try
    for try in $(seq "$update_tries"); do
        apt-get update -q && return 0
        if [ "$try" -lt "$update_tries" ]; then
            echo "apt-get update failed; trying again in ${update_pause}s"
            sleep "$update_pause"
        fi
    done
    echo "apt-get update failed $update_tries times; going on with the package lists this machine has."
}

# Exits 0 where a 32-bit Linux program runs; ZEMBRIT_KERNEL_RUNS_32BIT
# (yes or no) answers instead, for the install tests.
kernel_runs_32bit() {
    case "${ZEMBRIT_KERNEL_RUNS_32BIT:-}" in yes) return 0 ;; no) return 1 ;; esac
    local probe status=0
    probe=$(mktemp -d)
    if printf 'int main(void) { return 0; }\n' | gcc -m32 -x c - -o "$probe/probe" 2>/dev/null; then
        "$(dirname "$0")/../tests/runs-here.sh" "$probe/probe" || status=$?
    else
        echo "gcc -m32 cannot build a probe (is g++-multilib installed?)"
        status=1
    fi
    rm -rf "$probe"
    return "$status"
}

if [ ${#optional[@]} -ne 0 ] && ! kernel_runs_32bit; then
    echo "Not installing ${optional[*]}: 32-bit programs do not run here, so the i686 Wine runs will be skipped."
    optional=()
fi

mapfile -t missing < <(missing_of "${required[@]}")
mapfile -t missing_optional < <(missing_of "${optional[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && exit 0

all_missing=("${missing[@]}" "${missing_optional[@]}")
echo "Installing: ${all_missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages first)." >&2
    exit 1
fi
if [ ${#missing_optional[@]} -ne 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
update_lists
if [ ${#missing[@]} -ne 0 ] && ! apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    echo "Could not install: ${missing[*]}" >&2
    exit 1
fi
# Only warned about: without them the i686 Wine runs are skipped.
for package in "${missing_optional[@]}"; do
    apt-get install -y -q --no-install-recommends "$package" ||
        echo "Could not install $package: the i686 Wine runs will be skipped."
done
exit 0
