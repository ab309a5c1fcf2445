#!/usr/bin/env bash
# Long fuzzing: runs each libFuzzer target for SECONDS, growing its corpus in
# build-fuzz/corpus/NAME/ (kept between runs, so each run starts where the last one stopped).
# A crash is kept as build-fuzz/artifacts/NAME-crash-... and the target is started again for the
# rest of its time. libFuzzer's timeout is wall-clock time: under `nice -n 19` on a busy machine a
# run that takes milliseconds of CPU can wait seconds for it, so the limit is a minute, and a
# timeout input is worth replaying alone (`build-fuzz/fuzz/NAME INPUT`) before it is taken for a
# hang. At the end: executions, coverage (edges), features and crashes per target.
#   FUZZ_PARALLEL=N  runs N targets at once (default 1); run it under `nice -n 19` on a shared machine.
# Turn each crash into a fixed bug and a regression test in tests/fuzz_regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $# -ne 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS   (the time each target runs)" >&2
  exit 64
fi
seconds=$1
parallel=${FUZZ_PARALLEL:-1}
source scripts/fuzz-common.sh
fuzz_build
mkdir -p build-fuzz/artifacts build-fuzz/logs

# Runs one target until its time is used up, restarting after each crash (at most 20).
run_target() {
  local name=$1 log=build-fuzz/logs/$1.log
  local work=build-fuzz/corpus/$name end=$((SECONDS + seconds)) runs=0
  mkdir -p "$work"
  fuzz_target_arguments "$name"
  : >"$log"
  while ((SECONDS < end - 1 && runs < 20)); do
    runs=$((runs + 1))
    echo "== run $runs, $((end - SECONDS)) s left" >>"$log"
    "build-fuzz/fuzz/$name" -max_total_time=$((end - SECONDS)) -timeout=60 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name-" \
      "$work" "${fuzz_args[@]}" >>"$log" 2>&1 || true
  done
}

# One line of figures from a target's log: executions summed over its runs, the last coverage.
summarize() {
  local name=$1 log=build-fuzz/logs/$1.log
  local executions coverage features crashes
  executions=$(awk '/^stat::number_of_executed_units:/ {n += $2} END {print n + 0}' "$log")
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  features=$(grep -oE 'ft: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  crashes=$(find build-fuzz/artifacts -name "$name-*" | wc -l)
  printf '%-20s %14s %10s %10s %8s\n' "$name" "$executions" "${coverage:-?}" "${features:-?}" "$crashes"
}

running=0
for name in "${fuzz_targets[@]}"; do
  echo "fuzz: $name for $seconds s (log build-fuzz/logs/$name.log)"
  run_target "$name" &
  running=$((running + 1))
  if ((running >= parallel)); then wait -n; running=$((running - 1)); fi
done
wait

printf '%-20s %14s %10s %10s %8s\n' target executions coverage features crashes
for name in "${fuzz_targets[@]}"; do summarize "$name"; done
if compgen -G "build-fuzz/artifacts/*" >/dev/null; then
  echo "fuzz: failing inputs kept:" build-fuzz/artifacts/* >&2
  exit 1
fi
