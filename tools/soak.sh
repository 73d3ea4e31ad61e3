#!/usr/bin/env bash
# The soak: five-minute runs one after another in one process, on the scripted platform, with
# the pool and the heap checked after every run (tests/soak). It plays in a
# folder of its own, <build>/soak, next to the archive pair of the build's run folder.
#
#   tools/soak.sh <build folder> [runs [seed]]     100 runs, seed 1 unless given
#   tools/soak.sh --valgrind <build folder>        one short run under valgrind memcheck; any
#                                                  memory error or leak fails
set -euo pipefail

valgrind=()
if [ "${1:-}" = --valgrind ]; then
  valgrind=(valgrind -q --leak-check=full --errors-for-leak-kinds=definite,indirect
            --error-exitcode=3)
  shift
fi
[ $# -ge 1 ] || { echo "usage: $0 [--valgrind] <build folder> [runs [seed]]" >&2; exit 2; }
build=$(cd "$1" && pwd)
runs=${2:-100}
seed=${3:-1}
[ ${#valgrind[@]} -eq 0 ] || runs=1  # the restless pilot flies the first run: a short one

soak=$build/tests/korimo_soak
[ -x "$soak" ] || { echo "soak: $soak is not built" >&2; exit 1; }
folder=$build/soak
mkdir -p "$folder"
ln -sf "$build/run/korimo.set" "$build/run/korimo.dat" "$folder/"
cd "$folder"
exec "${valgrind[@]}" "$soak" "$runs" "$seed"
