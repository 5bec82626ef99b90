#!/bin/sh
# Debian's 32-bit Wine loader (wine32:i386) in the Japanese locale, so that the programs see
# code page 932; the locale is this command's alone, not the caller's shell's.
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 exec /usr/lib/wine/wine "$@"
