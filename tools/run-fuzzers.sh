#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for the given number of seconds each, starting from
# the seed corpus in fuzz/corpus/<target> when there is one. Findings land in the build folder.
set -euo pipefail
build=$1 seconds=$2
top=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  corpus="$build/corpus/$name"
  mkdir -p "$corpus" "$build/findings"
  seeds=()
  [ -d "$top/fuzz/corpus/$name" ] && seeds=("$top/fuzz/corpus/$name")
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=0 \
    -artifact_prefix="$build/findings/$name-" "$corpus" "${seeds[@]}" 2>"$build/findings/$name.log" \
    || { tail -40 "$build/findings/$name.log"; exit 1; }
done
