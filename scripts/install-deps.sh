#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and
# this machine lacks. Does nothing when everything is there.
set -euo pipefail

needed=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || needed+=(cmake)
have ninja || needed+=(ninja-build)
have g++ || needed+=(g++)
[ -d /usr/src/googletest ] || needed+=(googletest)
have x86_64-w64-mingw32-g++-posix || needed+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-objdump || needed+=(binutils-mingw-w64-x86-64)
have wine || needed+=(wine wine64)
have Xvfb || needed+=(xvfb)
have xwd || needed+=(x11-apps)
have convert || needed+=(imagemagick)
have clang++ || needed+=(clang)
have python3 || needed+=(python3)
[ -e /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a ] || needed+=(libclang-rt-14-dev)

if [ ${#needed[@]} -gt 0 ]; then
  echo "Installing: ${needed[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${needed[@]}" >/dev/null
fi
