#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given number of seconds.
#   tests/fuzz/run.sh [seconds-per-target] [target...]
# Targets: msgdb chipinfo cfgdata asm objdump sim. Corpora grow in build-fuzz/corpus/<target>;
# inputs that crash are kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/../.."
secs=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(msgdb chipinfo cfgdata asm objdump sim)

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DASZEL18_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz

mkdir -p build-fuzz/artifacts
seed() {  # seed <target> <files...>: copies seed files into the target's corpus once
  local dir=build-fuzz/corpus/$1
  shift
  [ -d "$dir" ] && return 0
  mkdir -p "$dir"
  for f in "$@"; do
    [ -f "$f" ] || continue
    if [ "$(basename "$dir")" = asm ]; then
      { printf '\000'; cat "$f"; } > "$dir/$(basename "$f")"
    else
      cp "$f" "$dir/"
    fi
  done
}
seed msgdb src/driver/messages.txt
seed chipinfo data/*.ini
seed cfgdata data/*.cfgdata
seed asm examples/*.as $(find tests/e2e/cases -name '*.as')
seed objdump $(find build/ -maxdepth 3 -name '*.obj' 2>/dev/null | head -20)
seed sim $(find build/ -maxdepth 3 -name '*.obj' 2>/dev/null | head -20)
if [ -x build/stage/bin/aszel18 ] && [ -z "$(ls -A build-fuzz/corpus/sim)" ]; then  # the simulator cases, assembled
  for f in tests/sim/*.as; do
    dev=$(sed -n 's/^; RUN: .*-mcpu=\([A-Za-z0-9]*\).*/\1/p' "$f" | head -1)
    build/stage/bin/aszel18 -mcpu="${dev:-ZEL18A44}" -Obuild-fuzz/corpus/sim/"$(basename "$f" .as)".obj "$f" >/dev/null 2>&1 || true
  done
fi

status=0
for t in "${targets[@]}"; do
  echo "== fuzz_$t for ${secs}s"
  extra=()
  [ -f tests/fuzz/$t.dict ] && extra=(-dict=tests/fuzz/$t.dict)
  # The whole-program target reaches some 40,000 features: the entropic schedule's bookkeeping
  # of rare features then costs more than the runs themselves.
  [ "$t" = asm ] && extra+=(-entropic=0)
  # -reload=0: one process, so nobody else adds to the corpus while it runs.
  if ! ./build-fuzz/tests/fuzz/fuzz_$t -max_total_time="$secs" -timeout=20 -rss_limit_mb=4096 -reload=0 "${extra[@]}" \
      -artifact_prefix=build-fuzz/artifacts/"$t"- -print_final_stats=1 build-fuzz/corpus/"$t" 2>build-fuzz/fuzz_$t.log; then
    echo "fuzz_$t found a problem:"
    tail -40 build-fuzz/fuzz_$t.log
    status=1
  else
    grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|cov:' build-fuzz/fuzz_$t.log | tail -3
  fi
done
exit $status
