#!/usr/bin/env bash
# Checks that a changed assembler behaves exactly as a reference build: both assemble the same
# sources (generated ones of the given sizes, every end-to-end case, every simulator program and
# random compiler-style programs) in each mode (plain, -L, -A, -C, -V, and the optimizer's: -O,
# --opt=space, -auto_inline, errata NOPs, the -V -V trace), each in a directory of its own, and
# every output file, the standard output, the messages and the exit status must be identical.
# The time is fixed through SOURCE_DATE_EPOCH so that listings and objects compare byte for byte.
# Usage: [SEEDS=first-last] bench/same.sh <reference aszel18> <new aszel18> [lines...]
#   lines: generated sources (default 200000 1000000); SEEDS: random programs (default 1-300)
set -uo pipefail
[ $# -ge 2 ] || { echo "usage: $0 <reference aszel18> <new aszel18> [lines...]" >&2; exit 2; }
ref=$(realpath "$1") new=$(realpath "$2")
shift 2
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(200000 1000000)
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=0
unset NTX_ERR_FORMAT NTX_WARN_FORMAT NTX_MSG_FORMAT

modes=("" "-Ls.lst" "-A -Os.opt" "-C" "-V" "-O -Ls.lst" "-O -A -Os.opt" "-O --opt=space -A -Os.opt"
       "-O -auto_inline -A -Os.opt" "-O --errata=16384 -A -Os.opt" "-O --opt=space --errata=1 -A -Os.opt"
       "-O -V -V -A -Os.opt")
fails=0 runs=0
# check <source> <cpu>: every mode with both builds, in fresh directories holding the source.
check() {
  local src=$1 cpu=$2 name m
  name=$(basename "$src")
  for m in "${modes[@]}"; do
    for side in ref new; do
      rm -rf "$work/$side" && mkdir "$work/$side" && cp "$src" "$work/$side/"
      # Include files and auxiliary files next to a case are copied along.
      cp -r "$(dirname "$src")"/. "$work/$side/" 2>/dev/null
      local bin=$ref
      [ $side = new ] && bin=$new
      # shellcheck disable=SC2086
      (cd "$work/$side" && "$bin" "$cpu" $m "$name" >stdout 2>stderr; echo "exit $?" >>stderr)
      # The installation's place shows in messages about its data files.
      sed -i "s|$(dirname "$(dirname "$bin")")|<install>|g" "$work/$side/stdout" "$work/$side/stderr"
    done
    runs=$((runs + 1))
    if ! diff -r "$work/ref" "$work/new" >"$work/diff"; then
      echo "DIFFERS: $src mode '$m'"
      head -20 "$work/diff"
      fails=$((fails + 1))
    fi
  done
}

gen=build-rel/bench/gen_source
for n in "${sizes[@]}"; do
  mkdir -p "$work/gen" && "$gen" "$n" "$work/gen/g$n.as" || exit 2
  check "$work/gen/g$n.as" -mcpu=ZEL18A44
  rm -rf "$work/gen"
done
seeds=${SEEDS:-1-300}
mkdir -p "$work/prog" && build-rel/stage/bin/gen_prog -o "$work/prog" "${seeds%-*}" "${seeds#*-}" || exit 2
for f in "$work"/prog/*.as; do
  mkdir -p "$work/one" && cp "$f" "$work/one/"
  check "$work/one/$(basename "$f")" -mcpu=ZEL18A44
  rm -rf "$work/one"
done
while IFS= read -r f; do
  cpu=$(grep -o -m1 -- '-mcpu=[A-Za-z0-9]*' "$f" || echo -mcpu=ZEL18A44)
  check "$f" "$cpu"
done < <(find tests/e2e/cases tests/sim -name '*.as' | sort)
echo "$runs runs, $fails differ"
[ $fails = 0 ]
