#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build folder for a short while, each from its seed folder when it has one.
set -euo pipefail
dir=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-20}
found=0
while IFS= read -r fuzzer; do
  found=1
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  seeds="tests/fuzz/seeds/$name"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "fuzz: $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$corpus" >"$corpus.log" 2>&1 || {
    tail -n 40 "$corpus.log"; echo "fuzz: $name failed"; exit 1; }
  rm -rf "$corpus" "$corpus.log"
done < <(find "$dir" -type f -name 'fuzz_*' -perm -u+x | sort)
[ $found -eq 1 ] || echo "fuzz: no targets"
