#!/usr/bin/env bash
# Measures the limits stated in docs/performance.md: the largest sample archive archive-gen writes,
# exported and verified with its peak memory, and memos of many megabytes exported and verified.
# Everything is written under a temporary folder in /tmp and deleted at the end.
#
#   bench/limits.sh                 # after scripts/build.sh
#   SCALE=2000 MEMO_CHARS=8000000 BUILD_DIR=build bench/limits.sh
#
# SCALE: the sample's scale (default 2000, the largest archive-gen takes, about 2.06 GB).
# MEMO_CHARS: characters of each long memo (default 8,000,000: at two bytes a character where
# Jet4 cannot compress, under the 16 MB a long value of archive-gen may hold).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
scale=${SCALE:-2000}
memo_chars=${MEMO_CHARS:-8000000}
tool=$build_dir/tarvik-transfer
archive_gen=$build_dir/tools/archive-gen/archive-gen
for program in "$tool" "$archive_gen" /usr/bin/time node; do
  command -v "$program" >/dev/null || { echo "limits: $program not found (build first; /usr/bin/time is Debian's 'time')" >&2; exit 2; }
done

work=$(mktemp -d /tmp/tarvik-limits-XXXXXX)
trap 'rm -rf "$work"' EXIT

# Room: the archive (about 1 MB a scale step), its transfer file (about half of it) and a margin.
df -h /tmp
need=$(( (scale * 1024 * 1024) * 16 / 10 + 1024 * 1024 * 1024 ))
free=$(df --output=avail -B1 /tmp | tail -1)
if (( free < need )); then
  echo "limits: $(( need / 1048576 )) MB needed in /tmp, $(( free / 1048576 )) MB free" >&2
  exit 1
fi

# Runs a command under GNU time and samples its anonymous memory (heap, stacks: what the process
# itself allocates) while it runs; the archive is mapped, and its pages read count in the resident
# size but are the kernel's page cache, given back under pressure.
# Sets: rc, elapsed, max_rss_kb, peak_anon_kb.
measure() {
  local log=$1; shift
  /usr/bin/time -v -o "$log.time" "$@" >"$log.out" 2>"$log.err" &
  local timer=$! child="" anon
  peak_anon_kb=0
  while kill -0 "$timer" 2>/dev/null; do
    [[ -z $child ]] && child=$(pgrep -P "$timer" | head -1 || true)
    if [[ -n $child && -r /proc/$child/status ]]; then
      anon=$(awk '/^RssAnon:/ {print $2}' "/proc/$child/status" 2>/dev/null || echo 0)
      (( ${anon:-0} > peak_anon_kb )) && peak_anon_kb=$anon
    fi
    sleep 0.2
  done
  rc=0
  wait "$timer" || rc=$?
  elapsed=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$log.time")
  max_rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log.time")
}

fingerprint() { echo "$(sha256sum "$1" | cut -d' ' -f1) $(stat -c %y "$1")"; }

megabytes() { echo "$(( $1 / 1048576 )) MB"; }

report=()
add() { report+=("$(printf '%-44s %s' "$1" "$2")"); }

echo "== the largest sample archive: scale $scale"
mkdir -p "$work/big"
measure "$work/generate" "$archive_gen" sample --scale "$scale" "$work/big/Tarvik.mdb"
(( rc == 0 )) || { cat "$work/generate.err" >&2; exit 1; }
archive_size=$(stat -c %s "$work/big/Tarvik.mdb")
records=$(awk '{n += $2} END {print n}' "$work/generate.out")
add "sample archive (scale $scale)" "$(megabytes "$archive_size") ($archive_size bytes), $records rows, written in $elapsed"
before=$(fingerprint "$work/big/Tarvik.mdb")

measure "$work/export" "$tool" export --folder "$work/big/" --output "$work/big.txt" --departments no
(( rc == 0 )) || { tail -5 "$work/export.err" >&2; echo "limits: the export failed ($rc)" >&2; exit 1; }
transfer_size=$(stat -c %s "$work/big.txt")
add "  export" "exit 0 in $elapsed; transfer file $(megabytes "$transfer_size")"
add "  export peak resident size" "$(( max_rss_kb / 1024 )) MB (mapped archive pages included)"
add "  export peak anonymous memory" "$(( peak_anon_kb / 1024 )) MB (sampled every 0.2 s)"
[[ $(fingerprint "$work/big/Tarvik.mdb") == "$before" ]] || { echo "limits: the archive changed" >&2; exit 1; }
add "  archive after the export" "bytes and modification time unchanged"

measure "$work/verify" "$tool" verify "$work/big.txt"
(( rc == 0 )) || { tail -5 "$work/verify.out" "$work/verify.err" >&2; echo "limits: verify failed" >&2; exit 1; }
add "  verify" "exit 0 in $elapsed, peak resident size $(( max_rss_kb / 1024 )) MB"
rm -rf "$work/big" "$work/big.txt"

echo "== two memos of $memo_chars characters"
mkdir -p "$work/memo"
node bench/long_memo_archive.mjs make tools/archive-gen/sample/tarvik_schema.json "$memo_chars" "$work/memo.json"
"$archive_gen" from-json "$work/memo.json" "$work/memo/Tarvik.mdb" >/dev/null
memo_archive_size=$(stat -c %s "$work/memo/Tarvik.mdb")
before=$(fingerprint "$work/memo/Tarvik.mdb")
measure "$work/memo-export" "$tool" export --folder "$work/memo/" --output "$work/memo.txt" --departments no
(( rc == 0 )) || { tail -5 "$work/memo-export.err" >&2; echo "limits: the long-memo export failed ($rc)" >&2; exit 1; }
add "long memos (CliFor.Note, Magazzino.Note)" "$memo_chars characters each; archive $(megabytes "$memo_archive_size")"
add "  export" "exit 0 in $elapsed, peak resident size $(( max_rss_kb / 1024 )) MB, anonymous $(( peak_anon_kb / 1024 )) MB"
[[ $(fingerprint "$work/memo/Tarvik.mdb") == "$before" ]] || { echo "limits: the archive changed" >&2; exit 1; }
"$tool" verify "$work/memo.txt" >/dev/null || { echo "limits: verify failed on the long memos" >&2; exit 1; }
add "  verify" "exit 0"
add "  content" "$(node bench/long_memo_archive.mjs check "$work/memo.txt" "$memo_chars")"

echo
echo "== limits measured ($(date -u +%Y-%m-%d), $(nproc) cores)"
printf '%s\n' "${report[@]}"
