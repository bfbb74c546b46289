#!/bin/bash
# Writes the stand-in payload: a test pattern of 27266 bytes that takes the
# place of the DSP firmware, which cannot be published with the sources.
#
#   firmware/payload/make_standin.sh > firmware/payload/standin.bin
#
# The file starts with a plain-text marker, so that anyone who sees these
# bytes in a line log knows they are no firmware. Every later byte is bits 16
# to 23 of the next state of the generator x <- (1103515245 * x + 12345) mod
# 2^31, started at x = 27266: the bytes do not repeat with any period a
# transfer could hide (such as the 100-byte chunk or 256), so a lost, doubled
# or misplaced chunk always shows when the received bytes are compared.
set -euo pipefail

readonly size=27266
readonly marker="TARNWICK STAND-IN PAYLOAD - NOT DSP FIRMWARE"$'\n'

escapes=""
for ((i = 0; i < ${#marker}; i++)); do
  printf -v code '%d' "'${marker:i:1}"
  printf -v escape '\\%03o' "$code"
  escapes+=$escape
done

x=$size
for ((i = ${#marker}; i < size; i++)); do
  x=$(((1103515245 * x + 12345) & 0x7FFFFFFF))
  printf -v escape '\\%03o' $(((x >> 16) & 0xFF))
  escapes+=$escape
done

printf '%b' "$escapes"
