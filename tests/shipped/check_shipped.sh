#!/usr/bin/env bash
# The programs as shipped: 32-bit x86, loadable by Windows 98 (subsystem 4.0), stripped with
# their debug information kept beside them, Dialnest.exe within its download budget (and,
# given the kit tool, packed with the sample kit within its own), every import on the oldest
# Windows we serve (check_imports.sh), and no snprintf conversion in Dialnest.exe's sources
# that the C run-time of Windows 98 does not know (its snprintf is that run-time's).
# Usage: check_shipped.sh <build folder> [<dialnest-kit>]
set -euo pipefail
# objdump words its headers in the user's language, and the checks read them.
export LC_ALL=C
build=$1
kit_tool=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
objdump=i686-w64-mingw32-objdump
programs=("$build/Dialnest.exe" "$build/kit/dialnest-kit.exe" "$build/sim/rasapi32.dll")
# Subscribers download the program over the dial-up line it sets up: 256 KiB take 63 s at
# 33.6 kbit/s and 38 s at 56 kbit/s. A provider's kit is a few kilobytes; the sample's must
# leave 4 KiB for it.
budget=$((256 * 1024))
packed_budget=$((260 * 1024))

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
if [ -n "$kit_tool" ]; then
  packed=$(mktemp)
  if "$kit_tool" pack --lang=en "$root/examples/kit" --dialnest "$build/Dialnest.exe" \
       -o "$packed" >/dev/null; then
    size=$(stat -c %s "$packed")
    printf 'Dialnest.exe packed with the sample kit: %d bytes\n' "$size"
    within_budget "$size" "$packed_budget" ||
      fail "the sample kit packed is $size bytes, over its budget of $packed_budget"
  else
    fail "the sample kit could not be packed"
  fi
  rm -f "$packed"
fi

# printf conversions with a length the C run-time of Windows 98 does not know (hh, ll, z, j,
# t, L) in any string of the folders Dialnest.exe is built from.
unknown=$(grep -rnE '"[^"]*%[-+ #0]*([0-9]+|[*])?([.]([0-9]+|[*]))?(hh|ll|z|j|t|L)[a-zA-Z]' \
  --include='*.cpp' --include='*.h' "$root"/{app,dialup,journal,logo,migrate,newconn,settings,ui} ||
  true)
[ -z "$unknown" ] || fail "formats the C run-time of Windows 98 does not know:
$unknown"

"$here/check_imports.sh" "$here/../data/windows-imports.tsv" "$objdump" "${programs[@]}" ||
  failed=1
exit $failed
