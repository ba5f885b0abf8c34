#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the build, the tests and the demo
# need and the machine does not have yet. Safe to run again: it only calls
# apt-get when something is missing.
set -euo pipefail

packages=(
    cmake make g++ perl
    g++-multilib qemu-user-static
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    googletest libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    wine wine64 wine32:i386
    xvfb xauth x11-utils
    imagemagick zip unzip
    pulseaudio pulseaudio-utils
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root (or install these packages first)." >&2
    exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
