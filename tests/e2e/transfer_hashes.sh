#!/bin/sh
# The transfer files of the sample archives, byte for byte: each case's archive is written by
# archive-gen and exported, and both files' SHA-256 must equal those a trusted build recorded in
# transfer_hashes.txt (one line a case: seed, departments answer, archive hash, transfer hash).
#
#   transfer_hashes.sh check  ARCHIVE_GEN TARVIK_TRANSFER HASHES_FILE WORK_DIR
#   transfer_hashes.sh record ARCHIVE_GEN TARVIK_TRANSFER HASHES_FILE WORK_DIR
#
# When the archive's hash differs, the sample generator changed and the recorded transfer hash
# says nothing about this build: the check stops with that message instead of a verdict.
set -eu

mode=$1 archive_gen=$2 tool=$3 hashes=$4 work=$5
for program in "$archive_gen" "$tool"; do
  [ -x "$program" ] || { echo "transfer_hashes: $program is not an executable program" >&2; exit 2; }
done
[ "$mode" = record ] || [ -s "$hashes" ] || { echo "transfer_hashes: $hashes is missing or empty" >&2; exit 2; }

# The cases: scale 1, several seeds, both answers to the department question.
cases="1 yes
1 no
2 yes
7 no
23 yes
23 no"

rm -rf "$work"
mkdir -p "$work"
[ "$mode" = record ] && : >"$work/recorded.txt"
failures=0
echo "$cases" | {
  while read -r seed departments; do
    dir="$work/seed$seed-$departments"
    mkdir -p "$dir"
    "$archive_gen" sample --seed "$seed" "$dir/Tarvik.mdb" >/dev/null
    "$tool" export --folder "$dir" --output "$dir/ProvaExport.txt" --departments "$departments" \
      </dev/null >/dev/null 2>"$dir/export.err" || {
      echo "seed $seed, departments $departments: the export failed:" >&2
      cat "$dir/export.err" >&2
      failures=$((failures + 1))
      continue
    }
    archive_hash=$(sha256sum "$dir/Tarvik.mdb" | cut -d' ' -f1)
    transfer_hash=$(sha256sum "$dir/ProvaExport.txt" | cut -d' ' -f1)
    if [ "$mode" = record ]; then
      echo "$seed $departments $archive_hash $transfer_hash" >>"$work/recorded.txt"
      continue
    fi
    expected=$(awk -v s="$seed" -v d="$departments" '$1 == s && $2 == d' "$hashes")
    if [ -z "$expected" ]; then
      echo "seed $seed, departments $departments: no hashes recorded in $hashes" >&2
      failures=$((failures + 1))
    elif [ "$(echo "$expected" | cut -d' ' -f3)" != "$archive_hash" ]; then
      echo "seed $seed, departments $departments: the sample archive changed: record the hashes" \
        "again with a trusted build (tests/e2e/record_transfer_hashes.sh)" >&2
      failures=$((failures + 1))
    elif [ "$(echo "$expected" | cut -d' ' -f4)" != "$transfer_hash" ]; then
      echo "seed $seed, departments $departments: the transfer file differs from the trusted" \
        "build's ($transfer_hash, recorded $(echo "$expected" | cut -d' ' -f4)); kept in $dir" >&2
      failures=$((failures + 1))
    else
      rm -rf "$dir"
    fi
  done
  [ "$failures" -eq 0 ] || { echo "transfer_hashes: $failures case(s) failed" >&2; exit 1; }
}
if [ "$mode" = record ]; then
  cp "$work/recorded.txt" "$hashes"
  echo "recorded $(wc -l <"$hashes") cases in $hashes" >&2
fi
