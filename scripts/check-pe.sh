#!/bin/bash
# Checks every Windows program in a build tree: it imports only DLLs that
# ship with Windows, and it has ASLR with high-entropy addresses and DEP.
#   check-pe.sh OBJDUMP BUILD_DIR
set -euo pipefail
objdump="$1" build="$2"

system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  ntdll.dll oleaut32.dll shell32.dll user32.dll uxtheme.dll version.dll winmm.dll ws2_32.dll "
# DllCharacteristics bits.
declare -A required=([HIGH_ENTROPY_VA]=0x0020 [DYNAMIC_BASE]=0x0040 [NX_COMPAT]=0x0100)

# Compiler probes under CMakeFiles and Wine's own programs are not ours.
mapfile -t programs < <(find "$build" \( -name CMakeFiles -o -name wineprefix \) -prune \
                             -o -name '*.exe' -type f -print | sort)
if [ "${#programs[@]}" -eq 0 ]; then
  echo "no .exe under $build" >&2
  exit 1
fi

status=0
for program in "${programs[@]}"; do
  dump=$("$objdump" -p "$program")
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u)
  flags=$(awk '$1 == "DllCharacteristics" { print $2 }' <<<"$dump")
  echo "$program: DllCharacteristics 0x$flags, imports" $dlls
  for dll in $dlls; do
    if [[ "$system_dlls" != *" $dll "* ]]; then
      echo "  imports $dll, which is not part of Windows" >&2
      status=1
    fi
  done
  for name in "${!required[@]}"; do
    if (( (0x${flags:-0} & required[$name]) == 0 )); then
      echo "  $name is not set" >&2
      status=1
    fi
  done
done
exit $status
