#!/usr/bin/env bash
# Whether two builds of the assembler give byte-identical results with the optimizer on: the
# -A text, the object, the listing, the messages and the exit status, for each option set, on
# the optimizer's e2e cases, the simulator programs, random programs and generated sources.
# A check for changes that must not change any result (such as speed work on the optimizer).
# Usage: tests/sim/samecheck.sh <old aszel18> <new aszel18> [build dir] [seeds] [lines...]
#   build dir: where bench/gen_source and stage/bin/gen_prog are (default build-rel)
#   seeds: random programs (default 1-300); lines: generated sources (default 200000)
set -uo pipefail
export SOURCE_DATE_EPOCH=0  # the listing and object carry the time
cd "$(dirname "$0")/../.."
old=$(realpath "$1") new=$(realpath "$2")
bld=${3:-build-rel} seeds=${4:-1-300}
shift $(($# < 4 ? $# : 4))
lines=("$@")
[ ${#lines[@]} -gt 0 ] || lines=(200000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/src"
for f in tests/e2e/cases/optim/*.as; do cp "$f" "$work/src/e2e_$(basename "$f")"; done
for f in tests/sim/*.as; do cp "$f" "$work/src/sim_$(basename "$f")"; done
"$bld/stage/bin/gen_prog" -o "$work/src" "${seeds%-*}" "${seeds#*-}" || exit 2
for n in "${lines[@]}"; do "$bld/bench/gen_source" "$n" "$work/src/gen$n.as" || exit 2; done

modes=("-O" "-O --opt=space" "-O -auto_inline" "-O --errata=16384" "-O --opt=space --errata=1")
# run <binary> <dir> <mode> <source>: every output of one run goes into dir.
run() {
  local b=$1 d=$2 m=$3 s=$4
  mkdir -p "$d"
  # shellcheck disable=SC2086
  (cd "$d" && "$b" -mcpu=ZEL18A44 $m -A -Oout.opt "$s" >a.out 2>a.err; echo $? >>a.err
   "$b" -mcpu=ZEL18A44 $m -Oout.obj -Lout.lst "$s" >o.out 2>o.err; echo $? >>o.err)
  case $s in */gen[0-9]*) ;; *)
    (cd "$d" && "$b" -mcpu=ZEL18A44 $m -V -V -A -Otr.opt "$s" >t.out 2>t.err; echo $? >>t.err) ;;
  esac
}
fails=0 count=0
for s in "$work"/src/*.as; do
  for m in "${modes[@]}"; do
    run "$old" "$work/old" "$m" "$s"
    run "$new" "$work/new" "$m" "$s"
    count=$((count + 1))
    if ! diff -r "$work/old" "$work/new" >/dev/null; then
      echo "DIFFERS: $(basename "$s") $m"
      fails=$((fails + 1))
    fi
    rm -rf "$work/old" "$work/new"
  done
done
echo "$count runs compared, $fails differ"
[ "$fails" = 0 ]
