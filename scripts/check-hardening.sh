#!/usr/bin/env bash
# Checks that the programs of a native and a Windows build tree are hardened.
#   Linux: position-independent, full RELRO (read-only relocations, bound at
#   load), stack protector and fortified library calls.
#   Windows: ASLR with high-entropy addresses, DEP, only Windows' own DLLs
#   (scripts/check-pe.sh), and no section both writable and executable.
#     check-hardening.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail
native="$1" windows="$2"
here=$(dirname "$0")
status=0
fail() { echo "  $*" >&2; status=1; }

mapfile -t elves < <(find "$native" \( -name CMakeFiles -o -name googletest \) -prune \
                          -o -type f -perm -u+x -print | sort |
                     while read -r f; do [ "$(head -c4 "$f" | od -An -c | tr -d ' ')" = '177ELF' ] && echo "$f"; done)
[ "${#elves[@]}" -gt 0 ] || { echo "no programs under $native" >&2; exit 1; }
for program in "${elves[@]}"; do
  echo "$program"
  header=$(readelf -hW "$program")
  segments=$(readelf -lW "$program")
  dynamic=$(readelf -dW "$program")
  symbols=$(readelf --dyn-syms -W "$program")
  grep -q 'Type:[[:space:]]*DYN' <<<"$header" || fail "not position-independent"
  grep -q 'GNU_RELRO' <<<"$segments" || fail "no RELRO segment"
  grep -Eq 'BIND_NOW|FLAGS_1.*NOW' <<<"$dynamic" || fail "relocations not bound at load (partial RELRO)"
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "no stack protector"
  grep -Eq '__[a-z_]+_chk' <<<"$symbols" || fail "no fortified library call"
done

bash "$here/check-pe.sh" x86_64-w64-mingw32-objdump "$windows" || status=1
mapfile -t programs < <(find "$windows" \( -name CMakeFiles -o -name wineprefix \) -prune \
                             -o -name '*.exe' -type f -print | sort)
for program in "${programs[@]}"; do
  # objdump -h prints each section's flags on the line after its name.
  wx=$(x86_64-w64-mingw32-objdump -h "$program" |
       awk '/^ *[0-9]+ / { name = $2; next } /CODE/ && !/READONLY/ { print name }')
  [ -z "$wx" ] || { echo "$program" >&2; fail "writable and executable sections: $wx"; }
done

[ "$status" -eq 0 ] && echo "hardening: every program passed"
exit $status
