#!/usr/bin/env bash
# The DLL must export exactly the five entry points, undecorated, import
# nothing but Windows system DLLs, and read pixels through no function but
# BitBlt (whose sources the Wine tests watch: a paint never reads the window),
# and import none of the DPI functions older Windows and Wine lack: those are
# looked up at run time, or the DLL would not load there.
set -u
objdump=$1 dll=$2
dump=$("$objdump" -p "$dll") || exit 1
exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '$1 == "[" || $1 ~ /^\[ *[0-9]/ {print $NF}' | grep -v Table | sort | tr '\n' ' ')
expected="beginPlugin beginPluginEx beginSlitPlugin endPlugin pluginInfo "
if [ "$exports" != "$expected" ]; then
    echo "exports: '$exports', expected '$expected'"; exit 1
fi
imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
allowed="kernel32.dll user32.dll gdi32.dll msimg32.dll winmm.dll msvcrt.dll advapi32.dll ole32.dll"
for dll_name in $imports; do
    case " $allowed " in
        *" $dll_name "*) ;;
        *) echo "imports non-system DLL $dll_name"; exit 1 ;;
    esac
done
readers=$(printf '%s\n' "$dump" | grep -owE 'AlphaBlend|GdiAlphaBlend|TransparentBlt|GdiTransparentBlt|StretchBlt|MaskBlt|PlgBlt|GetPixel|GetDIBits' | sort -u)
if [ -n "$readers" ]; then
    echo "reads pixels through $(echo $readers)"; exit 1
fi
late=$(printf '%s\n' "$dump" | grep -owE '[A-Za-z]*(Dpi|DPI)[A-Za-z]*' | sort -u)
if [ -n "$late" ]; then
    echo "imports DPI functions $(echo $late)"; exit 1
fi
echo "exports: $exports; imports: $(echo $imports)"
