#!/bin/sh
# Checks that a Windows executable needs no DLL but Windows' own and
# d3dx9_43.dll (the DirectX end-user runtime): the C++ runtime and the
# threads are linked in.
#   check_dlls.sh OBJDUMP EXE
set -eu
OBJDUMP=$1
EXE=$2

# Windows' own DLLs that the demo and its layers call, and D3DX.
ALLOWED="kernel32.dll user32.dll gdi32.dll comctl32.dll ole32.dll oleaut32.dll winmm.dll
msacm32.dll msvcrt.dll d3d9.dll d3dx9_43.dll"

names=$("$OBJDUMP" -p "$EXE" | awk '/DLL Name:/ {print tolower($3)}')
[ -n "$names" ] || { echo "FAIL: $EXE imports no DLL at all; is it a Windows executable?" >&2; exit 1; }
status=0
for name in $names; do
    case " $(echo $ALLOWED) " in
        *" $name "*) ;;
        *) echo "FAIL: $EXE needs $name, which Windows does not ship" >&2; status=1 ;;
    esac
done
[ $status -eq 0 ] && echo "$EXE needs only: $(echo $names)"
exit $status
