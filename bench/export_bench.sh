#!/bin/sh
# The export of a large sample archive, timed beside mdb-export of all its tables: wall time, rows
# per second and peak memory of each, from GNU time. A benchmark, not a test: it prints figures.
#
#   bench/export_bench.sh [BUILD_DIR] [SCALE]      (defaults: build, 1000, about 1 GB)
#
# The archive and the files written go into a fresh folder under /tmp, removed at the end.
set -eu

build=${1:-build}
scale=${2:-1000}
archive_gen=$build/tools/archive-gen/archive-gen
tool=$build/tarvik-transfer
for program in "$archive_gen" "$tool" /usr/bin/time mdb-export mdb-tables; do
  command -v "$program" >/dev/null || { echo "export_bench: $program not found" >&2; exit 2; }
done

work=$(mktemp -d /tmp/tarvik-export-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM

# "Elapsed (wall clock) time (h:mm:ss or m:ss): 1:02.34" as seconds, and the peak in MB.
seconds() {
  sed -n 's/.*Elapsed (wall clock) time.*: //p' "$1" |
    awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.2f", s }'
}
peak_mb() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1" | awk '{ printf "%.1f", $1 / 1024 }'; }

echo "generating the sample archive at scale $scale in $work ..." >&2
/usr/bin/time -v -o "$work/generate.time" "$archive_gen" sample --scale "$scale" "$work/Tarvik.mdb" >"$work/counts.txt"
archive_rows=$(awk '{ s += $2 } END { print s }' "$work/counts.txt")
archive_mb=$(du -m "$work/Tarvik.mdb" | cut -f1)

echo "exporting ..." >&2
/usr/bin/time -v -o "$work/export.time" "$tool" export --folder "$work" --output "$work/ProvaExport.txt" \
  --departments no </dev/null 2>"$work/export.err" || { cat "$work/export.err" >&2; exit 1; }
"$tool" verify "$work/ProvaExport.txt" >"$work/verify.txt" || { tail -1 "$work/verify.txt" >&2; exit 1; }
records_written=$(awk 'NR > 2 && NF == 2 { s += $2 } END { print s }' "$work/verify.txt")
transfer_mb=$(du -m "$work/ProvaExport.txt" | cut -f1)
rm -f "$work/ProvaExport.txt"

echo "mdb-export of every table ..." >&2
mdb-tables -1 "$work/Tarvik.mdb" >"$work/tables.txt"
# One shell runs mdb-export table after table; GNU time reports the largest peak among them.
/usr/bin/time -v -o "$work/mdb-export.time" sh -c '
  while IFS= read -r table; do mdb-export "$1" "$table" >/dev/null || exit 1; done <"$2"' \
  sh "$work/Tarvik.mdb" "$work/tables.txt"

echo
echo "archive: scale $scale, $archive_mb MB, $archive_rows rows in $(wc -l <"$work/tables.txt") tables" \
  "(generated in $(seconds "$work/generate.time") s)"
echo "transfer file: $transfer_mb MB, $records_written records written"
echo
printf '%-26s %10s %14s %12s\n' "" "time (s)" "rows/s" "peak (MB)"
for run in export mdb-export; do
  t=$(seconds "$work/$run.time")
  rate=$(awk -v r="$archive_rows" -v t="$t" 'BEGIN { if (t > 0) printf "%.0f", r / t; else print "-" }')
  name=$([ "$run" = export ] && echo "tarvik-transfer export" || echo "mdb-export (all tables)")
  printf '%-26s %10s %14s %12s\n' "$name" "$t" "$rate" "$(peak_mb "$work/$run.time")"
done
echo
echo "rows/s: rows of all the archive's tables over the wall time, the same for both."
