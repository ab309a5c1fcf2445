#!/usr/bin/env bash
# Builds and runs the whole test suite: the normal build, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then under ThreadSanitizer with two sample
# exports (scripts/run-tsan.sh), a short run of each fuzz target, then the Windows build's tests
# under Wine (scripts/run-windows-tests.sh) and the packages' contents.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

bash scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"

BUILD_DIR=build-sanitize bash scripts/build.sh -DTARVIK_SANITIZE=ON -DTARVIK_BENCH=OFF
ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)"

bash scripts/run-tsan.sh

bash scripts/fuzz-smoke.sh

bash scripts/run-windows-tests.sh
bash scripts/check-packages.sh
