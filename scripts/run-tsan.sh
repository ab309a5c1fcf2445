#!/usr/bin/env bash
# Builds with ThreadSanitizer into build-tsan/ and runs the whole suite there, then exports the
# sample archive at scales 1 and 10 with that build and checks the transfer files are the normal
# build's bytes (build/ must be built). Any data race or lock misuse it reports fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=build-tsan bash scripts/build.sh -DTARVIK_THREAD_SANITIZE=ON -DTARVIK_BENCH=OFF

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
# ThreadSanitizer needs the usual address layout; kernels that randomise more refuse it.
no_aslr=()
if setarch "$(uname -m)" -R true 2>/dev/null; then no_aslr=(setarch "$(uname -m)" -R); fi
"${no_aslr[@]}" ctest --test-dir build-tsan --output-on-failure -j"$(nproc)"

work=$(mktemp -d /tmp/tarvik-tsan-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
for scale in 1 10; do
  mkdir -p "$work/$scale"
  build/tools/archive-gen/archive-gen sample --scale "$scale" "$work/$scale/Tarvik.mdb" >/dev/null
  for build in build build-tsan; do
    "${no_aslr[@]}" "$build/tarvik-transfer" export --folder "$work/$scale" --departments no \
      --output "$work/$scale/$build.txt" >"$work/$scale/$build.log" 2>&1 ||
      { cat "$work/$scale/$build.log" >&2; echo "tsan: the $build export failed" >&2; exit 1; }
  done
  cmp "$work/$scale/build.txt" "$work/$scale/build-tsan.txt"
  echo "tsan: the scale-$scale sample export is clean and the same bytes"
done
