#!/bin/sh
# What the transfer report adds to an export: the export of a sample archive by this build (which
# writes the report) beside the same export by a reference program without the report (the
# program as it was before the report, e.g. /work/baseline/tarvik-transfer), interleaved, ROUNDS
# times each; then the dry run alone. Wall time and peak memory from GNU time. A benchmark, not
# a test: it prints figures, and checks that both transfer files are the same bytes.
#
#   bench/report_cost.sh BUILD_DIR REFERENCE_PROGRAM [SCALE] [ROUNDS]   (defaults: 1000, 3)
set -eu

build=$1
reference=$2
scale=${3:-1000}
rounds=${4:-3}
tool=$build/tarvik-transfer
for program in "$build/tools/archive-gen/archive-gen" "$tool" "$reference" /usr/bin/time; do
  command -v "$program" >/dev/null || { echo "report_cost: $program not found" >&2; exit 2; }
done

work=$(mktemp -d /tmp/tarvik-report-cost-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
"$build/tools/archive-gen/archive-gen" sample --scale "$scale" "$work/Tarvik.mdb" >/dev/null

seconds() {
  sed -n 's/.*Elapsed (wall clock) time.*: //p' "$1" |
    awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.2f", s }'
}
peak_mb() { sed -n 's/.*Maximum resident set size (kbytes): //p' "$1" | awk '{ printf "%.1f", $1 / 1024 }'; }
run() {  # name program command output
  /usr/bin/time -v -o "$work/$1.time" "$2" "$3" --folder "$work" --output "$work/$4" --departments no \
    >/dev/null 2>"$work/$1.err" || { cat "$work/$1.err" >&2; exit 1; }
  echo "$1 $(seconds "$work/$1.time") s, peak $(peak_mb "$work/$1.time") MB"
}

echo "scale $scale, $(du -m "$work/Tarvik.mdb" | cut -f1) MB archive"
i=1
while [ "$i" -le "$rounds" ]; do
  run "reference-$i" "$reference" export reference.txt
  run "with-report-$i" "$tool" export ProvaExport.txt
  cmp -s "$work/reference.txt" "$work/ProvaExport.txt" || { echo "report_cost: the transfer files differ" >&2; exit 1; }
  i=$((i + 1))
done
run dry-run "$tool" report dry.html
tail -n 1 "$work/with-report-1.err"
