#!/bin/sh
# Prints a text as the information box stores it: every byte rotated left by
# 3 bits, as C initialisers, ended by the zero byte.
#   ui/scramble_text.sh 'Press OK to close.'
printf '%s' "$1" | od -An -v -tu1 | tr -s ' ' '\n' | grep -v '^$' |
  awk '{ b = $1; printf "0x%02X, ", (b * 8) % 256 + int(b / 32) } END { print "0x00" }'
