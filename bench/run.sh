#!/usr/bin/env bash
# The benchmark table: a Release build assembles generated compiler-style sources of 200,000
# and 1,000,000 lines in each mode, and the system's GNU assembler assembles the same program
# written for x86-64, as the reference row. Prints lines/s (wall and processor time) and peak
# memory, and then the bytes of code and data without and with -O. Each row is the median run
# (by wall time) of RUNS runs (default 5), since timings on a shared machine vary from run to
# run. Usage: [RUNS=n] bench/run.sh [lines...]
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(200000 1000000)
runs=${RUNS:-5}

cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-rel >/dev/null
bin=build-rel/bench
asm=build-rel/stage/bin/aszel18
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '| run | lines | wall s | lines/s | cpu s | lines/s (cpu) | peak MiB | bytes/line |\n'
printf '|---|---:|---:|---:|---:|---:|---:|---:|\n'
# Bytes in the object's TEXT records: the code and data the psects hold.
code_bytes() {
  build-rel/stage/bin/zel18dump "$1" | awk '/^[A-Z]/ { t = ($1 == "TEXT") } t && /^  [0-9A-F]+:/ { n += NF - 1 } END { print n + 0 }'
}
codes=()
row() {  # row <label> <lines> <command...>: the run of median wall time out of $runs
  local label=$1 n=$2
  shift 2
  local all="" i
  for ((i = 0; i < runs; i++)); do all+="$("$bin/measure" "$@" 2>/dev/null)"$'\n'; done
  read -r wall cpu kib code < <(printf '%s' "$all" | sort -n | sed -n "$(((runs + 1) / 2))p")
  [ "$code" = 0 ] || label="$label (exit $code)"
  awk -v l="$label" -v n="$n" -v w="$wall" -v c="$cpu" -v k="$kib" 'BEGIN {
    printf "| %s | %d | %.3f | %.0f | %.3f | %.0f | %.1f | %.0f |\n", l, n, w, (w > 0 ? n / w : 0), c, (c > 0 ? n / c : 0), k / 1024, k * 1024 / n }'
}
for n in "${sizes[@]}"; do
  "$bin/gen_source" "$n" "$work/s.as"
  "$bin/gen_source" "$n" "$work/g.s" --gas
  row "aszel18" "$n" "$asm" -mcpu=ZEL18A44 "-O$work/s.obj" "$work/s.as"
  row "aszel18 -L" "$n" "$asm" -mcpu=ZEL18A44 "-O$work/s.obj" "-L$work/s.lst" "$work/s.as"
  row "aszel18 -A" "$n" "$asm" -mcpu=ZEL18A44 -A "-O$work/s.opt" "$work/s.as"
  row "aszel18 -O" "$n" "$asm" -mcpu=ZEL18A44 -O "-O$work/o.obj" "$work/s.as"
  row "aszel18 -O --opt=space" "$n" "$asm" -mcpu=ZEL18A44 -O --opt=space "-O$work/p.obj" "$work/s.as"
  row "aszel18 -O -auto_inline" "$n" "$asm" -mcpu=ZEL18A44 -O -auto_inline "-O$work/i.obj" "$work/s.as"
  if command -v as >/dev/null; then
    row "GNU as (x86-64)" "$n" as --64 -o "$work/g.o" "$work/g.s"
  fi
  codes+=("$n $(code_bytes "$work/s.obj") $(code_bytes "$work/o.obj") $(code_bytes "$work/p.obj")")
done
printf '\n| lines | code bytes | code bytes with -O | saved | with -O --opt=space | saved |\n|---:|---:|---:|---:|---:|---:|\n'
for c in "${codes[@]}"; do
  read -r n plain opt space <<<"$c"
  awk -v n="$n" -v p="$plain" -v o="$opt" -v s="$space" 'BEGIN {
    printf "| %d | %d | %d | %.1f %% | %d | %.1f %% |\n", n, p, o, (p > 0 ? 100 * (p - o) / p : 0), s, (p > 0 ? 100 * (p - s) / p : 0) }'
done
