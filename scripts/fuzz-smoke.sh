#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for a short while from its seeds: fuzz/seeds/NAME/, the shared Jet corpus for the
# whole-file target, and fuzz/NAME.dict when there is one. FUZZ_SECONDS sets the time per target
# (default 15: about a minute for the four targets). A failing input is kept in
# build-fuzz/artifacts/ and fails the script; turn it into a test in tests/fuzz_regressions/.
# For long runs that keep their corpus and print figures per target, see fuzz-long.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-15}
source scripts/fuzz-common.sh
fuzz_build

mkdir -p build-fuzz/artifacts
for name in "${fuzz_targets[@]}"; do
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  fuzz_target_arguments "$name"
  echo "== $name ($seconds s)"
  "build-fuzz/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ "$work" "${fuzz_args[@]}" 2>&1 |
    grep -E '^(stat::|#[0-9]+ +DONE|==|SUMMARY)' || true
  # libFuzzer exits non-zero on a crash; the pipeline above hides it, so check for artifacts.
  if compgen -G "build-fuzz/artifacts/*" >/dev/null; then
    echo "fuzz: $name found a failing input:" build-fuzz/artifacts/* >&2
    exit 1
  fi
done
