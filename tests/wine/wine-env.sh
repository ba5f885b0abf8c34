# Sourced by the Wine bench scripts: one private prefix, home and display
# per build folder, so that two builds never share a Wine server.
bench_dir=$1
# The Wine loader of the architecture under test (wine64 or wine).
export WINELOADER=${2:-/usr/lib/wine/wine64}
export WINEPREFIX="$bench_dir/prefix"
export HOME="$bench_dir/home"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$bench_dir/display" ] && export DISPLAY=":$(cat "$bench_dir/display")"

ensure_prefix() {
    mkdir -p "$bench_dir" "$HOME"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            "$WINELOADER" wineboot -i >/dev/null 2>&1
            # A crash must end the test, not open a debugger dialog that waits.
            "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
            /usr/lib/wine/wineserver64 -w
        fi
    ) 9>"$bench_dir/prefix.lock"
}
