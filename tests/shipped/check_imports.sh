#!/usr/bin/env bash
# Checks every function that each shipped program imports against the table of the oldest
# Windows that has it (tests/data/windows-imports.tsv), and that each run-time lookup the table
# lists is one a program really makes. The goal is Windows 98 SE; Windows 2000 must hold in
# any case. Prints each program's floor.
# Usage: check_imports.sh <table> <objdump> <program>...
set -euo pipefail
table=$1 objdump=$2
shift 2

failed=0
all_imports=$(mktemp)
trap 'rm -f "$all_imports"' EXIT
for program in "$@"; do
  name=$(basename "$program")
  "$objdump" -p "$program" |
    awk -v program="$name" '
      /DLL Name:/ { dll = toupper($3) }
      /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print program "\t" dll "\t" $3 }
      /^\t[0-9a-f]+\t +[0-9]+ +<none>/ { print program "\t" dll "\t#ordinal" }' >> "$all_imports"
  if ! grep -q "^$name	" "$all_imports"; then
    echo "FAILED: no import table read from $program"
    failed=1
  fi
done

# Each import: in the table, on 98 SE (exported there, even if only as a failing stub) or, at
# the very least, on Windows 2000 with the table's reason why not on 98 SE.
awk -F'\t' '
  function rank9x(v) { return v == "95" ? 1 : v == "98" ? 2 : v == "98SE" ? 3 : v == "stub" ? 3 : v == "Me" ? 4 : 9 }
  function ranknt(v) { return v == "NT3.1" ? 1 : v == "NT4" ? 2 : v == "2000" ? 3 : 9 }
  FNR == NR {
    if ($0 ~ /^#/ || $1 == "function") next
    key = $2 ":" $1; w9x[key] = $3; nt[key] = $4; why[key] = $6; lookup[key] = ($6 ~ /^lookup:/)
    next
  }
  {
    key = $2 ":" $3; checked[$1]++
    if (!(key in w9x) || lookup[key]) { print "FAILED: " $1 " imports " key ", which the table does not list as an import"; bad = 1; next }
    used[key] = 1
    if (ranknt(nt[key]) > 3) { print "FAILED: " $1 " imports " key ", which Windows 2000 lacks (" nt[key] ")"; bad = 1 }
    if (rank9x(w9x[key]) > 3) {
      floor[$1] = floor[$1] " " $3 " (" nt[key] ")"
      if (why[key] == "") { print "FAILED: " key " keeps " $1 " off Windows 98 SE and the table gives no reason"; bad = 1 }
    }
  }
  END {
    for (key in w9x) if (!lookup[key] && !(key in used)) { print "FAILED: the table lists " key ", which no program imports"; bad = 1 }
    for (p in checked) printf "%s: %d imports checked, runs on %s\n", p, checked[p], floor[p] == "" ? "Windows 98 SE and Windows 2000" : "Windows 2000, not 9x, because of" floor[p]
    exit bad
  }' "$table" "$all_imports" || failed=1

# Each lookup the table lists is named in some program, so the table cannot keep a stale row.
while IFS=$'\t' read -r function dll _ _ _ note; do
  case "$note" in lookup:*) ;; *) continue ;; esac
  if ! grep -qa -- "$function" "$@"; then
    echo "FAILED: the table lists the lookup $dll:$function, which no program names"
    failed=1
  fi
done < <(grep -v '^#' "$table")

if [ "$failed" -ne 0 ]; then
  echo "import check: FAILED"
  exit 1
fi
echo "import check: every import and lookup is in the table"
