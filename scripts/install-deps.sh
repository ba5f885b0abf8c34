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
# i686 programs are still built and their Wine runs are skipped.
set -euo pipefail
purpose=${1:-test}

demo_packages=(
    cmake make g++ perl
    g++-mingw-w64-x86-64 googletest
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
optional_packages=(wine32:i386)
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
