#!/usr/bin/env bash
# The programs as shipped: 32-bit x86, loadable by Windows 98 (subsystem 4.0), stripped with
# their debug information kept beside them, Dialnest.exe within its download budget, and
# every import on the oldest Windows we serve (check_imports.sh).
# Usage: check_shipped.sh <build folder>
set -euo pipefail
# objdump words its headers in the user's language, and the checks read them.
export LC_ALL=C
build=$1
here=$(cd "$(dirname "$0")" && pwd)
objdump=i686-w64-mingw32-objdump
programs=("$build/Dialnest.exe" "$build/kit/dialnest-kit.exe" "$build/sim/rasapi32.dll")
# Subscribers download the program over the dial-up line it sets up: 56 kbit/s is about
# 7 KB/s, so 400 KB is about a minute.
budget=$((400 * 1024))

within_budget() { [ "$1" -le "$2" ]; }
# The comparison itself, at the largest size that fits and one past it.
within_budget "$budget" "$budget" && ! within_budget $((budget + 1)) "$budget" || {
  echo "FAILED: the budget comparison is wrong"; exit 1; }

failed=0
fail() { echo "FAILED: $*"; failed=1; }
for program in "${programs[@]}"; do
  name=$(basename "$program")
  headers=$("$objdump" -x "$program")
  grep -q 'file format pei-i386' <<<"$headers" || fail "$name is not a 32-bit x86 image"
  grep -qE '^MajorSubsystemVersion[[:space:]]+4$' <<<"$headers" &&
    grep -qE '^MinorSubsystemVersion[[:space:]]+0$' <<<"$headers" ||
    fail "$name does not ask for subsystem 4.0"
  grep -qE '^ *[0-9]+ \.debug_' <<<"$headers" && fail "$name carries debug information"
  grep -qE '^ *[0-9]+ \.gnu_debuglink' <<<"$headers" || fail "$name does not name its debug file"
  [ -f "${program%.*}.debug" ] || fail "$name has no debug file beside it"
  printf '%s: %d bytes\n' "$name" "$(stat -c %s "$program")"
done
size=$(stat -c %s "$build/Dialnest.exe")
within_budget "$size" "$budget" || fail "Dialnest.exe is $size bytes, over its budget of $budget"

"$here/check_imports.sh" "$here/../data/windows-imports.tsv" "$objdump" "${programs[@]}" ||
  failed=1
exit $failed
