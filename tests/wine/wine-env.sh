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

# Makes the prefix once; fails, saying why, when Wine cannot.
ensure_prefix() {
    mkdir -p "$bench_dir" "$HOME"
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] && exit 0
        log="$bench_dir/prefix.log"
        if ! "$WINELOADER" wineboot -i >"$log" 2>&1 ||
            # A crash must end the test, not open a debugger dialog that waits.
            ! "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1; then
            echo "the Wine prefix $WINEPREFIX could not be made:" >&2
            cat "$log" >&2
            exit 1
        fi
        /usr/lib/wine/wineserver64 -w
    ) 9>"$bench_dir/prefix.lock"
}
