#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzz build (cmake -DBRELVION_FUZZ=ON, clang) and prints
# one summary line per target: executions, speed, coverage and findings. Exits 1 when any
# target found something; its input is kept under BUILD/fuzz-work/TARGET/.
#
#   scripts/fuzz.sh [-t SECONDS] [-r RUNS] [-j PARALLEL] [-b BUILD_DIR] [TARGET...]
#   scripts/fuzz.sh -l DURATION [-j PARALLEL] [-b BUILD_DIR] [TARGET...]
#
# Each target runs until SECONDS (default 20) or RUNS executions, whichever comes first.
# -l is the long mode: each target for DURATION (SECONDS, or with m or h: 90m, 8h) with no
# limit on executions, as many at a time as there are cores unless -j says otherwise, and
# at the end a table of every target's executions and findings.
# New inputs go to BUILD/fuzz-work/TARGET/corpus, so a later run goes on from there; the
# seeds in fuzz/corpus/TARGET are only read.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=20
runs=-1
parallel=1
build=build-fuzz
long=0
usage() { sed -n '2,14p' "$0" >&2; exit 2; }
# 90, 90s, 30m, 8h in seconds.
duration_seconds() {
  [[ $1 =~ ^([0-9]+)([smh]?)$ ]] || usage
  case ${BASH_REMATCH[2]} in
    h) echo $((BASH_REMATCH[1] * 3600)) ;;
    m) echo $((BASH_REMATCH[1] * 60)) ;;
    *) echo $((BASH_REMATCH[1])) ;;
  esac
}
parallel_set=0
while getopts "t:r:j:b:l:" option; do
  case $option in
    t) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    j) parallel=$OPTARG; parallel_set=1 ;;
    b) build=$OPTARG ;;
    l) long=1; seconds=$(duration_seconds "$OPTARG") || exit 2; runs=-1 ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
if [ "$long" = 1 ] && [ "$parallel_set" = 0 ]; then parallel=$(nproc); fi

if [ ! -f "$build/fuzz/targets.txt" ]; then
  echo "fuzz: no fuzz build in $build (cmake -B $build -DCMAKE_CXX_COMPILER=clang++ -DBRELVION_FUZZ=ON)" >&2
  exit 2
fi
if [ $# -gt 0 ]; then targets=("$@"); else mapfile -t targets < "$build/fuzz/targets.txt"; fi

run_target() {
  local name=$1
  local work="$build/fuzz-work/$name"
  mkdir -p "$work/corpus"
  rm -f "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* "$work/summary"
  local status=0
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -runs="$runs" -timeout=60 \
    -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/corpus" "fuzz/corpus/$name" > "$work/log" 2>&1 || status=$?
  local executions speed coverage findings
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
  coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$work/log" | tail -1 || true)
  findings=$(find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then findings=1; fi
  echo "fuzz $name: ${executions:-?} executions, ${speed:-?} exec/s, ${coverage:-cov: ?}," \
    "findings $findings$([ "$findings" -eq 0 ] || echo " (see $work/log)")"
  printf '%-16s %12s %8s %9s\n' "$name" "${executions:-?}" "${speed:-?}" "$findings" > "$work/summary"
  [ "$findings" -eq 0 ]
}

failed=0
pids=()
names=()
for name in "${targets[@]}"; do
  run_target "$name" &
  pids+=($!)
  names+=("$name")
  if [ ${#pids[@]} -ge "$parallel" ]; then
    wait "${pids[0]}" || failed=$((failed + 1))
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done

if [ "$long" = 1 ]; then
  echo
  printf '%-16s %12s %8s %9s\n' target executions exec/s findings
  for name in "${targets[@]}"; do cat "$build/fuzz-work/$name/summary"; done
fi
echo "fuzz summary: ${#targets[@]} targets, $failed with findings"
[ "$failed" -eq 0 ]
