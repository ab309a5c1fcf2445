#!/usr/bin/env bash
# The export of sample archives timed beside mdb-export of all their tables, in one run: wall and
# CPU time, rows per second, the ratio to mdb-export, peak resident size and peak anonymous memory
# (heap and stacks, sampled in a run apart from the timed ones) of each. A benchmark, not a test:
# it prints figures.
#
#   bench/export_bench.sh [BUILD_DIR] [SCALES]        (defaults: build, "40 1000")
#
# ARCHIVES=DIR keeps the sample archives in DIR/scaleN/Tarvik.mdb and reuses them on later runs
# (the scale-1000 archive takes a while and about 1 GB); without it they go into a temporary
# folder removed at the end. OTHER=PATH times a second tarvik-transfer (say, the build before a
# change) in the same run and checks that it writes the same bytes. ROUNDS=N (default 1) runs
# every program N times, one after another in each round, and gives the least wall and CPU time
# (STAT=median: their median) and the largest memory of each: on a shared virtual machine one run
# can be a fifth off.
set -euo pipefail

build=${1:-build}
scales=${2:-40 1000}
archive_gen=$build/tools/archive-gen/archive-gen
tool=$build/tarvik-transfer
other=${OTHER:-}
rounds=${ROUNDS:-1}
for program in "$archive_gen" "$tool" /usr/bin/time mdb-export mdb-tables ${other:+"$other"}; do
  command -v "$program" >/dev/null || { echo "export_bench: $program not found" >&2; exit 2; }
done

work=$(mktemp -d /tmp/tarvik-export-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
archives=${ARCHIVES:-$work/archives}

# Runs a command under GNU time for its CPU time and peak resident size, and takes its wall time
# from the shell's clock (GNU time gives only hundredths). Nothing else runs meanwhile: a sampler
# polling beside it would take part of one of the two cores, which the export uses both of.
measure() {
  local log=$1; shift
  local start=$EPOCHREALTIME
  /usr/bin/time -v -o "$log.time" "$@" >"$log.out" 2>"$log.err" ||
    { cat "$log.err" >&2; echo "export_bench: $* failed" >&2; exit 1; }
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f\n", b - a }' >"$log.wall"
}

# Runs a command once more, sampling the anonymous memory of the process it starts every 50 ms.
sample_anon() {
  local log=$1; shift
  "$@" >"$log.out" 2>"$log.err" &
  local child=$! anon
  peak_anon_kb=0
  while kill -0 "$child" 2>/dev/null; do
    anon=$(awk '/^RssAnon:/ {print $2}' "/proc/$child/status" 2>/dev/null || echo 0)
    (( ${anon:-0} > peak_anon_kb )) && peak_anon_kb=$anon
    sleep 0.05
  done
  wait "$child" || { cat "$log.err" >&2; echo "export_bench: $* failed" >&2; exit 1; }
  echo "$peak_anon_kb" >"$log.anon"
}

# Over every round of a program ($1.1, $1.2, ...): the least (or, with STAT=median, the median)
# wall seconds and CPU seconds (user + system), the largest peak resident MB from GNU time's
# reports, the largest sampled anon.
stat=${STAT:-least}
pick() {
  sort -g | awk -v stat="$stat" '{ v[NR] = $1 } END {
    x = stat == "median" ? (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) : v[1]
    printf "%.2f", x }'
}
wall() { cat "$1".*.wall | pick; }
cpu() {
  for log in "$1".*.time; do awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$log"; done | pick
}
peak_mb() { cat "$1".*.time | awk -F': ' '/Maximum resident set size/ { if ($2 > m) m = $2 } END { printf "%.0f", m / 1024 }'; }
anon_mb() { cat "$1".*.anon | awk '{ if ($1 > m) m = $1 } END { printf "%.0f", m / 1024 }'; }

for scale in $scales; do
  dir=$archives/scale$scale
  if [[ ! -s $dir/Tarvik.mdb || ! -s $dir/counts.txt ]]; then
    echo "generating the sample archive at scale $scale in $dir ..." >&2
    mkdir -p "$dir"
    "$archive_gen" sample --scale "$scale" "$dir/Tarvik.mdb" >"$dir/counts.txt"
  fi
  rows=$(awk '{ s += $2 } END { print s }' "$dir/counts.txt")
  archive_mb=$(du -m "$dir/Tarvik.mdb" | cut -f1)
  run=$work/scale$scale
  mkdir -p "$run"
  cat "$dir/Tarvik.mdb" >/dev/null  # into the page cache, as it is for every program measured

  mdb-tables -1 "$dir/Tarvik.mdb" >"$run/tables.txt"
  runs=(export)
  [[ -n $other ]] && runs+=(other)
  runs+=(mdb-export)
  for ((round = 1; round <= rounds; round++)); do
    echo "exporting at scale $scale (round $round of $rounds) ..." >&2
    measure "$run/export.$round" "$tool" export --folder "$dir" --output "$run/ProvaExport.txt" --departments no
    "$tool" verify "$run/ProvaExport.txt" >"$run/verify.txt" || { tail -1 "$run/verify.txt" >&2; exit 1; }
    transfer_mb=$(du -m "$run/ProvaExport.txt" | cut -f1)
    sum=$(sha256sum <"$run/ProvaExport.txt")
    rm -f "$run/ProvaExport.txt"
    if [[ -n $other ]]; then
      measure "$run/other.$round" "$other" export --folder "$dir" --output "$run/ProvaExport.txt" --departments no
      [[ $(sha256sum <"$run/ProvaExport.txt") == "$sum" ]] || { echo "export_bench: $other writes other bytes" >&2; exit 1; }
      rm -f "$run/ProvaExport.txt"
    fi

    echo "mdb-export of every table at scale $scale ..." >&2
    # One shell runs mdb-export table after table; GNU time adds up their CPU time.
    measure "$run/mdb-export.$round" sh -c '
      while IFS= read -r table; do mdb-export "$1" "$table" >/dev/null || exit 1; done <"$2"' \
      sh "$dir/Tarvik.mdb" "$run/tables.txt"
  done
  echo "sampling the memory of each program at scale $scale ..." >&2
  sample_anon "$run/export.anon" "$tool" export --folder "$dir" --output "$run/ProvaExport.txt" --departments no
  rm -f "$run/ProvaExport.txt"
  if [[ -n $other ]]; then
    sample_anon "$run/other.anon" "$other" export --folder "$dir" --output "$run/ProvaExport.txt" --departments no
    rm -f "$run/ProvaExport.txt"
  fi
  sample_anon "$run/mdb-export.anon" sh -c '
    while IFS= read -r table; do mdb-export "$1" "$table" >/dev/null || exit 1; done <"$2"' \
    sh "$dir/Tarvik.mdb" "$run/tables.txt"

  echo
  echo "scale $scale: archive $archive_mb MB, $rows rows in $(wc -l <"$run/tables.txt") tables;" \
    "transfer file $transfer_mb MB"
  printf '%-26s %9s %9s %12s %12s %12s %10s %10s\n' "" "wall (s)" "CPU (s)" "rows/s" "x mdb (wall)" "x mdb (CPU)" \
    "peak (MB)" "anon (MB)"
  for name in "${runs[@]}"; do
    label=$name
    [[ $name == export ]] && label="tarvik-transfer export"
    [[ $name == other ]] && label="$(basename "$(dirname "$other")")/tarvik-transfer"
    [[ $name == mdb-export ]] && label="mdb-export (all tables)"
    t=$(wall "$run/$name") c=$(cpu "$run/$name")
    rate=$(awk -v r="$rows" -v t="$t" 'BEGIN { if (t > 0) printf "%.0f", r / t; else print "-" }')
    ratio=$(awk -v m="$(cpu "$run/mdb-export")" -v c="$c" 'BEGIN { if (c > 0) printf "%.1f", m / c; else print "-" }')
    wall_ratio=$(awk -v m="$(wall "$run/mdb-export")" -v t="$t" 'BEGIN { if (t > 0) printf "%.1f", m / t; else print "-" }')
    printf '%-26s %9s %9s %12s %12s %12s %10s %10s\n' "$label" "$t" "$c" "$rate" "$wall_ratio" "$ratio" \
      "$(peak_mb "$run/$name")" "$(anon_mb "$run/$name")"
  done
done
echo
echo "rows/s: rows of all the archive's tables over the wall time; x mdb (wall): mdb-export's wall time"
echo "over this program's, what a user waits (the export writes stages ahead on a second core);"
echo "x mdb (CPU): the same for CPU time, all threads (steadier when the machine is shared);"
echo "anon: peak anonymous memory, sampled every 50 ms in a run of its own, after the timed ones."
echo "Times are the $stat of $rounds round(s), peak resident size the largest."
