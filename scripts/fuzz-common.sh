# Shared by fuzz-smoke.sh and fuzz-long.sh: the fuzzing build and each target's options and seeds.
# Sourced from the repository's root; sets `fuzz_targets` and defines fuzz_build and
# fuzz_target_arguments.
corpus_dir=${TARVIK_CORPUS_DIR:-../shared/corpus}

fuzz_targets=()
for source in fuzz/fuzz_*.cpp; do fuzz_targets+=("$(basename "$source" .cpp)"); done

fuzz_build() {
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    "${launcher[@]}" -DTARVIK_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target "${fuzz_targets[@]}"
}

# Fills `fuzz_args` with the options and seed folders of target $1.
fuzz_target_arguments() {
  local name=$1
  fuzz_args=(-max_len=65536)
  [[ -f fuzz/$name.dict ]] && fuzz_args+=("-dict=fuzz/$name.dict")
  [[ -d fuzz/seeds/$name ]] && fuzz_args+=("fuzz/seeds/$name")
  # The whole-file target reads the whole input every run, so its inputs are kept small: the
  # archives archive-gen wrote into fuzz/seeds/ (45 and 57 KB) and the two smallest real archives
  # of the shared corpus (a Jet3 one among them), cut to -max_len.
  if [[ $name == fuzz_jet_file ]]; then
    if [[ ! -d $corpus_dir ]]; then
      echo "fuzz: the shared corpus is missing at $corpus_dir (set TARVIK_CORPUS_DIR)" >&2
      return 1
    fi
    mkdir -p build-fuzz/seeds-files
    find "$corpus_dir" -type f \( -name '*.mdb' -o -name '*.accdb' \) -size -72k \
      -exec cp -n {} build-fuzz/seeds-files/ \;
    fuzz_args+=(build-fuzz/seeds-files)
  fi
}
