#!/bin/sh
# Packs FILEs, in the order given, into OUT_DIR/NAME.zip and writes OUT_DIR/SHA256SUMS. The
# same files from the same commit give the same bytes: fixed permissions, every entry dated at
# the commit, and none of the extra fields that carry owners and access times.
#   make-zip.sh OUT_DIR NAME SOURCE_DIR FILE...
set -eu
out=$1 name=$2 source=$3
shift 3

# The commit's time, unless a packager sets SOURCE_DATE_EPOCH.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null || true)}
if [ -z "$epoch" ]; then
  echo "make-zip: $source has no commit to date the package by; set SOURCE_DATE_EPOCH" >&2
  exit 1
fi

stage=$out.stage
rm -rf "$out" "$stage"
mkdir -p "$out" "$stage"
names=""
for file; do
  base=$(basename "$file")
  case $base in
    *.exe) mode=755 ;;
    *) mode=644 ;;
  esac
  install -m "$mode" "$file" "$stage/$base"
  names="$names $base"
done

# A zip entry holds its time as a local DOS time: with the clock in UTC it is the same anywhere.
export TZ=UTC
touch -d "@$epoch" "$stage"/*
# shellcheck disable=SC2086  # the names are plain file names, split on purpose
(cd "$stage" && zip -X -9 -q "$out/$name.zip" $names)
rm -rf "$stage"
(cd "$out" && sha256sum "$name.zip" >SHA256SUMS)
echo "$out/$name.zip"
