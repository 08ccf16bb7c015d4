#!/usr/bin/env bash
# The benchmark table: a Release build assembles generated compiler-style sources (200,000 and
# 1,000,000 lines unless other sizes are given) in each mode, and the system's GNU assembler
# assembles the same program written for x86-64 as the reference. Timings on a shared machine
# drift, so every row runs in alternation with GNU as (A B A B ..., RUNS pairs, default 5) and
# compares the medians of the two: "vs GNU as" is GNU as's median wall time over the row's, so
# 2.0 means twice as fast. "x plain" compares a row with plain assembly of the same size: the
# plain command runs in each round too (A B P A B P ...), and the figure is the median of the
# rounds' ratios of the row's time to plain's, so that a drift of the host cancels.
# Peak memory is the median run's, also per source line. Then the bytes of code and data without
# and with -O.
# Usage: [RUNS=n] [ROWS="plain -L -A -O space inline"] bench/run.sh [lines...]
set -euo pipefail
cd "$(dirname "$0")/.."
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(200000 1000000)
runs=${RUNS:-5}
rows=${ROWS:-plain -L -A -O space inline}

cmake -S . -B build-rel -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-rel >/dev/null
bin=build-rel/bench
asm=build-rel/stage/bin/aszel18
gas=$(command -v as || true)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# median <file> <column>: the median of one column of "wall cpu kib status" lines, by wall time
median() { sort -n "$1" | sed -n "$((($(wc -l <"$1") + 1) / 2))p" | cut -d' ' -f"$2"; }

printf '| run | lines | wall s | lines/s | cpu s | peak MiB | bytes/line | GNU as s | vs GNU as | x plain |\n'
printf '|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n'
# Bytes in the object's TEXT records: the code and data the psects hold.
code_bytes() {
  [ -f "$1" ] || { echo "-"; return; }
  build-rel/stage/bin/zel18dump "$1" | awk '/^[A-Z]/ { t = ($1 == "TEXT") } t && /^  [0-9A-F]+:/ { n += NF - 1 } END { print n + 0 }'
}
codes=()
plain=()
row() {  # row <label> <lines> <command...>: RUNS rounds of this command, GNU as and plain
  local label=$1 n=$2 i
  shift 2
  : >"$work/a" && : >"$work/g" && : >"$work/x"
  for ((i = 0; i < runs; i++)); do
    "$bin/measure" "$@" >>"$work/a" 2>/dev/null
    [ -z "$gas" ] || "$bin/measure" "$gas" --64 -o "$work/g.o" "$work/g.s" >>"$work/g" 2>/dev/null
    if [ ${#plain[@]} -gt 0 ]; then
      "$bin/measure" "${plain[@]}" >"$work/p" 2>/dev/null
      paste -d' ' <(tail -n1 "$work/a") "$work/p" | awk '$5 > 0 { print $1 / $5 }' >>"$work/x"
    fi
  done
  local wall cpu kib code gwall=0
  read -r wall cpu kib code < <(sort -n "$work/a" | sed -n "$(((runs + 1) / 2))p")
  [ -z "$gas" ] || gwall=$(median "$work/g" 1)
  [ "$code" = 0 ] || label="$label (exit $code)"
  local x=1
  [ ! -s "$work/x" ] || x=$(median "$work/x" 1)
  cat "$work/g" >>"$work/gall"
  awk -v l="$label" -v n="$n" -v w="$wall" -v c="$cpu" -v k="$kib" -v g="$gwall" -v p="$x" 'BEGIN {
    printf "| %s | %d | %.3f | %.0f | %.3f | %.1f | %.0f | %s | %s | %s |\n", l, n, w, (w > 0 ? n / w : 0), c, k / 1024, k * 1024 / n,
      (g > 0 ? sprintf("%.3f", g) : "-"), (g > 0 && w > 0 ? sprintf("%.2f", g / w) : "-"), sprintf("%.2f", p) }'
}
want() { [[ " $rows " == *" $1 "* ]]; }
for n in "${sizes[@]}"; do
  "$bin/gen_source" "$n" "$work/s.as"
  "$bin/gen_source" "$n" "$work/g.s" --gas
  rm -f "$work"/*.obj "$work/gall"
  plain=()
  want plain && row "aszel18" "$n" "$asm" -mcpu=ZEL18A44 "-O$work/s.obj" "$work/s.as"
  plain=("$asm" -mcpu=ZEL18A44 "-O$work/x.obj" "$work/s.as")
  want -L && row "aszel18 -L" "$n" "$asm" -mcpu=ZEL18A44 "-O$work/l.obj" "-L$work/s.lst" "$work/s.as"
  want -A && row "aszel18 -A" "$n" "$asm" -mcpu=ZEL18A44 -A "-O$work/s.opt" "$work/s.as"
  want -O && row "aszel18 -O" "$n" "$asm" -mcpu=ZEL18A44 -O "-O$work/o.obj" "$work/s.as"
  want space && row "aszel18 -O --opt=space" "$n" "$asm" -mcpu=ZEL18A44 -O --opt=space "-O$work/p.obj" "$work/s.as"
  want inline && row "aszel18 -O -auto_inline" "$n" "$asm" -mcpu=ZEL18A44 -O -auto_inline "-O$work/i.obj" "$work/s.as"
  if [ -n "$gas" ] && [ -s "$work/gall" ]; then
    # GNU as over all its runs of this size
    awk -v n="$n" -v w="$(median "$work/gall" 1)" -v c="$(median "$work/gall" 2)" -v k="$(median "$work/gall" 3)" 'BEGIN {
      printf "| GNU as (x86-64) | %d | %.3f | %.0f | %.3f | %.1f | %.0f | | | |\n", n, w, n / w, c, k / 1024, k * 1024 / n }'
  fi
  codes+=("$n $(code_bytes "$work/s.obj") $(code_bytes "$work/o.obj") $(code_bytes "$work/p.obj")")
done
printf '\n| lines | code bytes | code bytes with -O | saved | with -O --opt=space | saved |\n|---:|---:|---:|---:|---:|---:|\n'
for c in "${codes[@]}"; do
  read -r n plain opt space <<<"$c"
  awk -v n="$n" -v p="$plain" -v o="$opt" -v s="$space" 'BEGIN {
    printf "| %d | %s | %s | %s | %s | %s |\n", n, p, o, (p + 0 > 0 && o != "-" ? sprintf("%.1f %%", 100 * (p - o) / p) : "-"),
      s, (p + 0 > 0 && s != "-" ? sprintf("%.1f %%", 100 * (p - s) / p) : "-") }'
done
