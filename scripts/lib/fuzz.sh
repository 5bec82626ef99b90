# The fuzz targets and their seeds, shared by scripts/test (replay and a bounded run) and
# scripts/fuzz (long runs). A target tests/fuzz/<name>_fuzz.cpp builds to
# build/fuzz/tests/fuzz/<name>_fuzz; its seeds are its corpus tests/fuzz/corpus/<name>/,
# the sample files of examples/ it reads, and the bad-input catalogue's files that the
# catalogue's table places as such a file.

fuzz_catalogue=tests/data/bad-input

# The provider file or phonebook that target <name> reads, as the catalogue's "as" column
# names it (a pattern).
fuzz_reads() {
  case "$1" in
    setting_file) echo 'ISP_INF.csv' ;;
    access_point_tables) echo 'AP(GEN|PHS|AIR)\.csv' ;;
    method_menu) echo 'CTMENU.csv' ;;
    phonebook_file) echo 'phonebook\.ini' ;;
    png_image) echo 'Logo\.png' ;;
    carried_kit) echo 'Dialnest\.exe' ;;
    journal_record) echo 'journal' ;;
    *) echo '^$' ;;
  esac
}

# Prints the seed files of target <name>, one a line.
fuzz_seeds() {
  local name=$1 reads
  reads=$(fuzz_reads "$name")
  [ -d "tests/fuzz/corpus/$name" ] && find "tests/fuzz/corpus/$name" -type f
  find examples -type f | grep -E "(^|/)($reads)$" || true
  [ "$name" = phonebook_file ] && find tests/unit/sim/fixtures -name '*.ini'
  # Catalogue rows: "file | as | ..."; a generated file (@...) is seeded by its base file.
  [ -f "$fuzz_catalogue/catalogue.txt" ] && awk -F' *[|] *' -v reads="^($reads)$" -v dir="$fuzz_catalogue" '
    /^#/ || NF < 2 { next }
    $2 ~ reads { f = $1; sub(/^@[^:]*:/, "", f); if (f !~ /^@/) print dir "/" f }
  ' "$fuzz_catalogue/catalogue.txt" | sort -u
}

# The dictionary option of target <name>, when it has a dictionary.
fuzz_dictionary() {
  [ -f "tests/fuzz/$1.dict" ] && echo "-dict=tests/fuzz/$1.dict"
  return 0
}

# Runs every seed of target <name> once through <binary>; prints the report of a failure.
fuzz_replay() {
  local binary=$1 name=$2 log
  log=$(mktemp)
  local seeds=()
  mapfile -t seeds < <(fuzz_seeds "$name")
  if ! "$binary" "${seeds[@]}" > "$log" 2>&1; then
    tail -n 40 "$log"
    rm -f "$log"
    echo "FAILED: replay of ${#seeds[@]} seeds through $name"
    return 1
  fi
  rm -f "$log"
  echo "$name: ${#seeds[@]} seeds replayed"
}

# Fuzzes target <name> with <binary> from its seeds in <work> (created, and keeping what
# the run finds); further arguments go to libFuzzer. Prints libFuzzer's final figures, and
# its report when it found something.
fuzz_run() {
  local binary=$1 name=$2 work=$3
  shift 3
  mkdir -p "$work/corpus" "$work/findings"
  fuzz_seeds "$name" | while read -r seed; do
    cp -f "$seed" "$work/corpus/$(sha1sum "$seed" | cut -c1-16)-$(basename "$seed")"
  done
  local log="$work/last-run.log" status=0
  "$binary" $(fuzz_dictionary "$name") -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$work/findings/" "$@" "$work/corpus" > "$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    grep -v -E '^#[0-9]+' "$log" | tail -n 60
    echo "FAILED: $name found something; the input is in $work/findings/"
    return 1
  fi
  printf '%s: %s runs, %s exec/s, %s\n' "$name" \
    "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" \
    "$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")" \
    "$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -o 'cov: [0-9]*')"
}
