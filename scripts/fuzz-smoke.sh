#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short while, seeded with the
# shared Jet corpus. FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
corpus_dir=${TARVIK_CORPUS_DIR:-../shared/corpus}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARVIK_FUZZ=ON -DTARVIK_TESTS=OFF -DTARVIK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"

mkdir -p build-fuzz/artifacts
for target in build-fuzz/fuzz/fuzz_*; do
  name=$(basename "$target")
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  seeds=fuzz/seeds/$name
  seed_args=()
  [[ -d $seeds ]] && seed_args+=("$seeds")
  # Whole-file targets start from the real archives of the shared corpus (the small ones).
  if [[ $name == fuzz_jet_file && -d $corpus_dir ]]; then
    mkdir -p build-fuzz/seeds-files
    find "$corpus_dir" -type f \( -name '*.mdb' -o -name '*.accdb' \) -size -600k \
      -exec cp -n {} build-fuzz/seeds-files/ \;
    seed_args+=(build-fuzz/seeds-files)
  fi
  echo "== $name ($seconds s)"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
    -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ "$work" "${seed_args[@]}" 2>&1 | grep -E '^(stat::|#[0-9]+ +DONE|==|SUMMARY)' || true
  # libFuzzer exits non-zero on a crash; the pipeline above hides it, so check for artifacts.
  if compgen -G "build-fuzz/artifacts/*" >/dev/null; then
    echo "fuzz: $name found a failing input:" build-fuzz/artifacts/* >&2
    exit 1
  fi
done
