#!/bin/sh
# The transfer files of the sample archives, byte for byte: each case's archive is written by
# archive-gen and exported, and both files' SHA-256 must equal those a trusted build recorded in
# transfer_hashes.txt (one line a case: seed, departments answer, archive layout, archive hash,
# transfer hash). The layout is "fresh", or FORMAT-aged-SEED for an archive written by
# `archive-gen sample --format FORMAT --layout aged --layout-seed SEED` (Jet3: texts in Windows-1252).
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

# The cases: scale 1, several seeds, both answers to the department question, and an aged Jet3
# archive as years of edits leave one.
cases="1 yes fresh
1 no fresh
2 yes fresh
7 no fresh
23 yes fresh
23 no fresh
1 yes jet3-aged-5
7 no jet3-aged-2"

rm -rf "$work"
mkdir -p "$work"
[ "$mode" = record ] && : >"$work/recorded.txt"
failures=0
echo "$cases" | {
  while read -r seed departments layout; do
    dir="$work/seed$seed-$departments-$layout"
    mkdir -p "$dir"
    options=""
    case $layout in
      fresh) ;;
      *-aged-*) options="--format ${layout%%-*} --layout aged --layout-seed ${layout##*-}" ;;
      *) echo "transfer_hashes: unknown layout $layout" >&2; exit 2 ;;
    esac
    # shellcheck disable=SC2086 # the options are words
    "$archive_gen" sample --seed "$seed" $options "$dir/Tarvik.mdb" >/dev/null
    "$tool" export --folder "$dir" --output "$dir/ProvaExport.txt" --departments "$departments" \
      </dev/null >/dev/null 2>"$dir/export.err" || {
      echo "seed $seed, departments $departments, $layout: the export failed:" >&2
      cat "$dir/export.err" >&2
      failures=$((failures + 1))
      continue
    }
    archive_hash=$(sha256sum "$dir/Tarvik.mdb" | cut -d' ' -f1)
    transfer_hash=$(sha256sum "$dir/ProvaExport.txt" | cut -d' ' -f1)
    if [ "$mode" = record ]; then
      echo "$seed $departments $layout $archive_hash $transfer_hash" >>"$work/recorded.txt"
      continue
    fi
    expected=$(awk -v s="$seed" -v d="$departments" -v l="$layout" '$1 == s && $2 == d && $3 == l' "$hashes")
    if [ -z "$expected" ]; then
      echo "seed $seed, departments $departments, $layout: no hashes recorded in $hashes" >&2
      failures=$((failures + 1))
    elif [ "$(echo "$expected" | cut -d' ' -f4)" != "$archive_hash" ]; then
      echo "seed $seed, departments $departments, $layout: the sample archive changed: record the hashes" \
        "again with a trusted build (tests/e2e/record_transfer_hashes.sh)" >&2
      failures=$((failures + 1))
    elif [ "$(echo "$expected" | cut -d' ' -f5)" != "$transfer_hash" ]; then
      echo "seed $seed, departments $departments, $layout: the transfer file differs from the trusted" \
        "build's ($transfer_hash, recorded $(echo "$expected" | cut -d' ' -f5)); kept in $dir" >&2
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
