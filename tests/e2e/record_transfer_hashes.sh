#!/bin/sh
# Records the transfer hashes the byte-identity test compares with, from a TRUSTED build of
# tarvik-transfer (say, the build before a change to the writer or the engine):
#
#   tests/e2e/record_transfer_hashes.sh PATH_TO_TRUSTED_TARVIK_TRANSFER [ARCHIVE_GEN]
#
# ARCHIVE_GEN defaults to build/tools/archive-gen/archive-gen: the generator whose samples the
# test will write.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
trusted=${1:?usage: record_transfer_hashes.sh PATH_TO_TRUSTED_TARVIK_TRANSFER [ARCHIVE_GEN]}
archive_gen=${2:-$here/../../build/tools/archive-gen/archive-gen}
work=$(mktemp -d /tmp/transfer-hashes-XXXXXX)
trap 'rm -rf "$work"' EXIT INT TERM
sh "$here/transfer_hashes.sh" record "$archive_gen" "$trusted" "$here/transfer_hashes.txt" "$work/cases"
