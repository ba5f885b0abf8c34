#!/usr/bin/env bash
# Configures and builds one tree: native, native-tsan, native-m32, win64 or win32.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$1
dir="$root/build/$tree"
case "$tree" in
    native) args=() ;;
    native-tsan) args=(-DZEMBRIT_SANITIZERS=thread) ;;
    native-m32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-i386.cmake") ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake") ;;
    *) echo "unknown tree $tree" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${args[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
