#!/usr/bin/env bash
# The Windows programs under Wine against the Linux build, end to end:
#   - archive-gen.exe writes the same archives as archive-gen;
#   - tarvik-transfer.exe export gives the Linux build's transfer file byte for byte (or its
#     refusal and exit code) on the sample, its three refusal variants and an aged Jet3 sample;
#   - without --folder it finds the folder in the registry value written with `wine reg add`;
#   - the archive's bytes and modification time are unchanged;
#   - failures give the Linux build's error and exit code and leave nothing at the target;
#   - paths with accents, blanks and "&", and longer than 260 characters, reach the files and come
#     back in the summary line and the report as the user typed them;
#   - both programs carry the project's version, an Italian description and the project's icon.
# Usage: wine_e2e.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR
set -uo pipefail
win_build=$(realpath "$1")
linux_build=$(realpath "$2")
source_dir=$(realpath "$(dirname "$0")/../..")
for program in "$win_build/tarvik-transfer.exe" "$win_build/tools/archive-gen/archive-gen.exe" \
               "$win_build/tests/windows/archive-holder.exe" "$win_build/tests/windows/resource_probe.exe" \
               "$win_build/tarvik-export.exe" "$linux_build/tarvik-transfer" \
               "$linux_build/tools/archive-gen/archive-gen"; do
  [[ -x $program ]] || { echo "manca $program: compilare prima" >&2; exit 1; }
done
export WINEPREFIX=${WINEPREFIX:-$win_build/wineprefix} WINEDEBUG=-all
wine_cmd=$(command -v wine || command -v wine64)

work=$win_build/e2e
# shellcheck source=checks.sh
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
win() { "$wine_cmd" "$win_build/$1" "${@:2}"; }
# Messages without the progress lines; Windows' text-mode line ends and path separators as Linux
# ones; the report's name without the build's prefix.
messages() {
  tr -d '\r' < "$1" | grep -v '^Avanzamento' | sed -e 's/\[S\/n\] //' -e 's/^Resoconto: [lw]-/Resoconto: /' |
    tr '\\' /
}
same_run() {  # same_run NAME ARGS... : both builds run `export ARGS`, transfer files l-OUT.txt and
  # w-OUT.txt (OUT is NAME unless set), messages and exit codes under l-NAME, w-NAME
  local name=$1 out=${OUT:-$1}
  shift
  "$linux_build/tarvik-transfer" export "$@" --output "l-$out.txt" > "l-$name.out" 2> "l-$name.err"
  echo $? > "l-$name.rc"
  win tarvik-transfer.exe export "$@" --output "w-$out.txt" > "w-$name.out" 2> "w-$name.err"
  echo $? > "w-$name.rc"
  # The transfer file's name appears in no message, so both runs' messages must be the same text.
  cmp -s "l-$name.rc" "w-$name.rc" || { echo "  exit code: Linux $(cat "l-$name.rc"), Windows $(cat "w-$name.rc")"; return 1; }
  diff <(messages "l-$name.err") <(messages "w-$name.err") > /dev/null ||
    { diff <(messages "l-$name.err") <(messages "w-$name.err") | head -5; return 1; }
  diff <(tr -d '\r' < "l-$name.out") <(tr -d '\r' < "w-$name.out") > /dev/null || return 1
  if [[ -e l-$out.txt ]]; then cmp "l-$out.txt" "w-$out.txt"; else [[ ! -e w-$out.txt ]]; fi
}
nothing_left() {  # nothing_left FOLDER NAME: no file NAME and no temporary file of it
  ! compgen -G "$1/$2*" > /dev/null
}
fingerprint() { echo "$(sha256sum < "$1") $(stat -c %Y "$1")"; }

# The archives: the sample and its three refusal variants, written by both generators.
for variant in sample outdated duplicate-suppliers missing-destination; do
  mkdir -p "$variant" "$variant-w"
  args=(sample)
  [[ $variant != sample ]] && args+=(--variant "$variant")
  "$linux_build/tools/archive-gen/archive-gen" "${args[@]}" "$variant/Tarvik.mdb" > /dev/null
  win tools/archive-gen/archive-gen.exe "${args[@]}" "$variant-w/Tarvik.mdb" > /dev/null
  check "archive-gen.exe $variant = archive-gen" cmp "$variant/Tarvik.mdb" "$variant-w/Tarvik.mdb"
done

for variant in sample outdated duplicate-suppliers missing-destination; do
  before=$(fingerprint "$variant/Tarvik.mdb")
  check "export $variant: same file or refusal" same_run "$variant" --folder "$variant" --departments yes
  check "export $variant: archive unchanged" test "$before" = "$(fingerprint "$variant/Tarvik.mdb")"
done
check "export sample without departments" same_run sample-nodep --folder sample --departments no
check "transfer file is not empty" test -s w-sample.txt

# An aged Jet3 archive, as years of edits in Access 97 leave one: both generators write the same
# bytes, both builds export it alike, and to the transfer file of the Jet4 sample with its texts.
mkdir -p aged-jet3 aged-jet3-w ansi-jet4
aged=(sample --seed 3 --format jet3 --layout aged --layout-seed 8)
"$linux_build/tools/archive-gen/archive-gen" "${aged[@]}" aged-jet3/Tarvik.mdb > /dev/null
win tools/archive-gen/archive-gen.exe "${aged[@]}" aged-jet3-w/Tarvik.mdb > /dev/null
check "archive-gen.exe aged Jet3 = archive-gen" cmp aged-jet3/Tarvik.mdb aged-jet3-w/Tarvik.mdb
check "export aged Jet3: same file" same_run aged-jet3 --folder aged-jet3 --departments yes
"$linux_build/tools/archive-gen/archive-gen" sample --seed 3 --texts ansi ansi-jet4/Tarvik.mdb > /dev/null
"$linux_build/tarvik-transfer" export --folder ansi-jet4 --output l-ansi-jet4.txt --departments yes > /dev/null 2>&1
check "aged Jet3 exports as the fresh Jet4 sample" cmp l-ansi-jet4.txt w-aged-jet3.txt

# The folder from the registry, with its trailing backslash and an accented name.
mkdir -p "Società Rossi"
cp sample/Tarvik.mdb "Società Rossi/"
"$wine_cmd" reg add 'HKCU\Software\VB and VBA Program Settings\Tarvik\Installazione' \
  /v Cartella /t REG_SZ /d "Z:$(pwd | tr / '\\')\\Società Rossi\\" /f > /dev/null 2>&1
win tarvik-transfer.exe export --output w-registry.txt --departments yes > /dev/null 2>&1
check "registry folder found (accented name)" cmp l-sample.txt w-registry.txt
"$wine_cmd" reg delete 'HKCU\Software\VB and VBA Program Settings\Tarvik' /f > /dev/null 2>&1
win tarvik-transfer.exe export --output w-noregistry.txt --departments yes > /dev/null 2> w-noregistry.err
check "no registry value: refused, nothing written" test "$?" = 1 -a ! -e w-noregistry.txt

# Failures.
check "missing folder" same_run missing-folder --folder non-esiste --departments yes
# Unreadable archives: bytes that are no Jet file, and the sample cut short halfway.
mkdir -p not-jet cut-short
head -c 300000 /dev/zero | tr '\0' x > not-jet/Tarvik.mdb
head -c "$(($(stat -c %s sample/Tarvik.mdb) / 2))" sample/Tarvik.mdb > cut-short/Tarvik.mdb
check "not a Jet archive" same_run not-jet --folder not-jet --departments yes
check "archive cut short" same_run cut-short --folder cut-short --departments yes
mkdir -p empty-folder/sub
check "missing archive" same_run missing-archive --folder empty-folder --departments yes
# A read-only folder and a full disk. Permission bits do not stop root, so as root the folder is
# a read-only mount, and the full disk a tiny tmpfs.
mkdir -p ro full
targets=(ro full)
if ((EUID == 0)); then
  # A machine that refuses mounts (a container) cannot stage these two: they are skipped, loudly.
  if mount --bind ro ro 2> /dev/null && mount -o remount,ro,bind ro 2> /dev/null &&
      mount -t tmpfs -o size=64k tmpfs full 2> /dev/null; then
    trap 'umount "$work/ro" "$work/full" 2> /dev/null' EXIT
  else
    umount "$work/ro" 2> /dev/null
    echo "SALTATI: cartella in sola lettura e disco pieno (qui non si possono montare file system)" >&2
    targets=()
  fi
else
  chmod 555 ro
fi
for target in "${targets[@]}"; do
  "$linux_build/tarvik-transfer" export --folder sample --output "$target/out.txt" --departments yes > /dev/null 2> "$target-l.err"
  echo $? > "$target-l.rc"
  check "$target: Linux leaves nothing" nothing_left "$target" out.txt
  win tarvik-transfer.exe export --folder sample --output "$target/out.txt" --departments yes > /dev/null 2> "$target-w.err"
  echo $? > "$target-w.rc"
  check "$target: the Linux error and exit code" \
    diff <(messages "$target-l.err"; cat "$target-l.rc") <(messages "$target-w.err"; cat "$target-w.rc")
  check "$target: nothing left" nothing_left "$target" out.txt
done
((EUID == 0)) || chmod 755 ro

long=$(printf 'n%.0s' {1..300})
OUT=$long check "name too long" same_run long --folder sample --departments yes
check "name too long: nothing left" nothing_left . "w-$long.txt"
# A folder deeper than Windows' old 260-character limit.
deep=$(printf 'cartella-lunga-%.0s' {1..10})/$(printf 'cartella-lunga-%.0s' {1..10})
mkdir -p "$deep"
win tarvik-transfer.exe export --folder sample --output "$deep/ProvaExport.txt" --departments yes > /dev/null 2>&1
check "a path of over 260 characters is written" cmp l-sample.txt "$deep/ProvaExport.txt"
win tarvik-transfer.exe export --folder sample --output 'w-bad?name.txt' --departments yes > /dev/null 2> badname.err
rc=$?
check "characters Windows refuses: error 52, exit 2" test "$rc" = 2 -a -n "$(grep -l '52' badname.err)"
check "characters Windows refuses: nothing left" nothing_left . 'w-bad'

# 3045: the archive held by a running export, and held open for writing by another program.
flock -x sample/Tarvik.mdb sleep 20 &
holder=$!
sleep 0.5
"$linux_build/tarvik-transfer" export --folder sample --output l-held.txt --departments yes > /dev/null 2> l-held.err
echo "$?" > l-held.rc
kill "$holder"; wait "$holder" 2> /dev/null
check "archive held on Linux: 3045" grep -q 3045 l-held.err
for mode in export write; do
  rm -f ready
  # Started without the `win` function, so that $! is Wine's own process and the kill reaches it.
  "$wine_cmd" "$win_build/tests/windows/archive-holder.exe" "$mode" sample/Tarvik.mdb ready 20 &
  holder=$!
  for _ in $(seq 150); do [[ -e ready ]] && break; sleep 0.2; done
  [[ -e ready ]] || echo "  archive-holder.exe $mode did not take the archive" >&2
  win tarvik-transfer.exe export --folder sample --output "w-held-$mode.txt" --departments yes > /dev/null 2> "w-held-$mode.err"
  echo "$?" > "w-held-$mode.rc"
  kill "$holder" 2> /dev/null; wait "$holder" 2> /dev/null
  check "archive held ($mode): the Linux error and exit code" \
    diff <(messages l-held.err; cat l-held.rc) <(messages "w-held-$mode.err"; cat "w-held-$mode.rc")
  check "archive held ($mode): nothing left" nothing_left . "w-held-$mode.txt"
done

# Paths are UTF-8 text from the command line to the file system and back. Names with accents,
# blanks and "&", and paths longer than Windows' old 260 characters, for --folder and --output of
# export and report, typed as Windows paths and as relative ones: the files get exactly their
# names and the Linux build's bytes, and the summary line and the report name them as typed.
winpath() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }
escaped() { sed 's/&/\&amp;/g' <<< "$1"; }  # as the report writes these names
heading() {  # heading REPORT TERM: the value the report's heading gives the term
  sed -n "s|^<dt>$2</dt><dd[^>]*>\(.*\)</dd>\$|\1|p" "$1"
}
body() {  # the report without what names paths and times
  grep -v -e '^<dt>Archivio</dt>' -e "^<dt>Ultima modifica dell'archivio</dt>" -e '^<dt>File di trasferimento</dt>' \
    -e "^<dt>Data e ora dell'esportazione</dt>" "$1"
}
summary_names() {  # summary_names ERR REPORT: the last line names REPORT as typed
  local last
  last=$(grep '^Resoconto: ' "$1" | tr -d '\r' | tail -1)
  [[ $last == "Resoconto: $2 ("* ]] || { echo "  $last"; return 1; }
}
examined() {  # examined REPORT ARCHIVE: the heading gives the archive's size and a time
  [[ $(heading "$1" "Dimensione dell'archivio") == "$(stat -c %s "$2") byte" &&
     -n $(heading "$1" "Ultima modifica dell'archivio") ]]
}
odd="Società Rossi & C"
long=$(printf 'Archivio più lungo di Rossi & C-%.0s' {1..4})
deep="$odd/$long/$long"
mkdir -p "$odd/Uscita è" "$deep/Uscita è"
cp sample/Tarvik.mdb "$odd/"
cp sample/Tarvik.mdb "$deep/"
# (The sample itself may still be held by the holders above.)
"$linux_build/tarvik-transfer" report --folder "$odd" --output l-report.html --departments yes > /dev/null 2>&1

# export: Windows paths with accents, blanks and "&".
out="$(winpath "$odd/Uscita è")\\è.txt"
win tarvik-transfer.exe export --folder "$(winpath "$odd")" --output "$out" --departments yes > /dev/null 2> odd.err
check "accented paths: export exits with 0" test "$?" = 0
check "accented paths: the file under its name, the Linux bytes" cmp l-sample.txt "$odd/Uscita è/è.txt"
check "accented paths: no file under any other name" test "$(ls "$odd/Uscita è" | tr '\n' /)" = "è.html/è.txt/"
check "accented paths: the summary names the report" summary_names odd.err "${out%.txt}.html"
check "accented paths: the report names the archive" \
  test "$(heading "$odd/Uscita è/è.html" Archivio)" = "$(escaped "$(winpath "$odd")\\Tarvik.mdb")"
check "accented paths: the report names the transfer file" \
  test "$(heading "$odd/Uscita è/è.html" 'File di trasferimento')" = "$(escaped "$out")"
check "accented paths: the report examined the archive" examined "$odd/Uscita è/è.html" "$odd/Tarvik.mdb"
check "accented paths: the report is the Linux one" diff <(body l-sample.html) <(body "$odd/Uscita è/è.html")

# export: relative paths of over 260 characters once absolute, with accents and "&".
out="$deep/Uscita è/lungo è & C.txt"
win tarvik-transfer.exe export --folder "$deep" --output "$out" --departments yes > /dev/null 2> deep.err
check "long paths: export exits with 0" test "$?" = 0
check "long paths: over 260 characters" test "$(winpath "$out" | wc -m)" -gt 261
check "long paths: the file under its name, the Linux bytes" cmp l-sample.txt "$out"
check "long paths: the summary names the report" summary_names deep.err "${out%.txt}.html"
check "long paths: the report names the archive and the file" \
  test "$(heading "${out%.txt}.html" Archivio)" = "$(escaped "$deep\\Tarvik.mdb")" \
       -a "$(heading "${out%.txt}.html" 'File di trasferimento')" = "$(escaped "$out")"
check "long paths: the report examined the archive" examined "${out%.txt}.html" "$deep/Tarvik.mdb"
check "long paths: the report is the Linux one" diff <(body l-sample.html) <(body "${out%.txt}.html")
win tarvik-transfer.exe verify "$(winpath "$out")" > deep-verify.out 2>&1
check "long paths: verify reads the file" test "$?" = 0 -a "$(tr -d '\r' < deep-verify.out | tail -1)" = "Il file rispetta il tracciato."

# report: Windows paths of over 260 characters, with accents and "&".
out="$(winpath "$deep/Uscita è")\\prova è & C.html"
win tarvik-transfer.exe report --folder "$(winpath "$deep")" --output "$out" --departments yes > /dev/null 2> dry.err
check "report, long paths: exits with 0" test "$?" = 0
check "report, long paths: the report under its name, the Linux one" \
  diff <(body l-report.html) <(body "$deep/Uscita è/prova è & C.html")
check "report, long paths: the summary names it" summary_names dry.err "$out"
check "report, long paths: it names the archive and examined it" \
  test "$(heading "$deep/Uscita è/prova è & C.html" Archivio)" = "$(escaped "$(winpath "$deep")\\Tarvik.mdb")"
check "report, long paths: it examined the archive" examined "$deep/Uscita è/prova è & C.html" "$deep/Tarvik.mdb"

# The programs as Explorer shows them: each carries the program's own version, an Italian
# description and the project's icon (tools/program-icon/program.ico), read from the file by
# resource_probe.exe through the system's own calls.
version=$(win tarvik-transfer.exe --version | tr -d '\r')
version=${version#tarvik-transfer }
resources() {  # resources PROGRAM DESCRIPTION: what the probe must read
  printf '%s\n' "Translation=041004B0" "FileVersion=$version" "ProductVersion=$version" "FileDescription=$2" \
    "ProductName=Trasferimento dati da Tarvik a Quendal" "CompanyName=Progetto tarvik-transfer" "InternalName=$1" \
    "OriginalFilename=$1.exe" "FixedFileVersion=$version.0" "FixedProductVersion=$version.0" "Icon=program.ico" \
    "IconLoads=sì"
}
probe() { win tests/windows/resource_probe.exe "$(winpath "$win_build/$1.exe")" "$(winpath "$source_dir/tools/program-icon/program.ico")" | tr -d '\r'; }
check "tarvik-transfer.exe: version $version, description and icon" \
  diff <(resources tarvik-transfer "Trasferimento dati Tarvik: il comando per la console e gli script") <(probe tarvik-transfer)
check "tarvik-export.exe: version $version, description and icon" \
  diff <(resources tarvik-export "Trasferimento dati Tarvik: la finestra di esportazione") <(probe tarvik-export)

checks_done "Wine"
