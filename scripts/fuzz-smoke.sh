#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for a short while from its seeds: fuzz/seeds/NAME/, the shared Jet corpus for the
# whole-file target, and fuzz/NAME.dict when there is one. FUZZ_SECONDS sets the time per target
# (default 15: about a minute for the four targets). A failing input is kept in
# build-fuzz/artifacts/ and fails the script; turn it into a test in tests/fuzz_regressions/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-15}
corpus_dir=${TARVIK_CORPUS_DIR:-../shared/corpus}

targets=()
for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARVIK_FUZZ=ON -DTARVIK_TESTS=OFF -DTARVIK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/artifacts
for name in "${targets[@]}"; do
  target=build-fuzz/fuzz/$name
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  seed_args=()
  [[ -d fuzz/seeds/$name ]] && seed_args+=("fuzz/seeds/$name")
  options=(-max_len=65536)
  [[ -f fuzz/$name.dict ]] && options+=("-dict=fuzz/$name.dict")
  # The whole-file target starts from the real archives of the shared corpus (the small ones).
  if [[ $name == fuzz_jet_file ]]; then
    options=(-max_len=1048576)
    if [[ -d $corpus_dir ]]; then
      mkdir -p build-fuzz/seeds-files
      find "$corpus_dir" -type f \( -name '*.mdb' -o -name '*.accdb' \) -size -600k \
        -exec cp -n {} build-fuzz/seeds-files/ \;
      seed_args+=(build-fuzz/seeds-files)
    fi
  fi
  echo "== $name ($seconds s)"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 "${options[@]}" \
    -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ "$work" "${seed_args[@]}" 2>&1 |
    grep -E '^(stat::|#[0-9]+ +DONE|==|SUMMARY)' || true
  # libFuzzer exits non-zero on a crash; the pipeline above hides it, so check for artifacts.
  if compgen -G "build-fuzz/artifacts/*" >/dev/null; then
    echo "fuzz: $name found a failing input:" build-fuzz/artifacts/* >&2
    exit 1
  fi
done
