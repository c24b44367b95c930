#!/usr/bin/env bash
# Packages the committed sources a second time, from a clone in another folder, and compares the
# packages with those in PACKAGES byte for byte. Uncommitted changes in the first build make them
# differ: run it on a clean checkout.
#   reproducible_test.sh PACKAGES
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
first=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/log2plt-again.XXXXXX")
trap 'rm -rf "$work"' EXIT
start=$SECONDS
git clone -q "$root" "$work/another-folder/log2plt"
"$work/another-folder/log2plt/packaging/make_packages.sh" "$work/packages" >/dev/null
failed=0
for file in "$first"/*; do
  name=$(basename "$file")
  if cmp -s "$file" "$work/packages/$name"; then
    echo "reproducible: $name ($(stat -c %s "$file") bytes)"
  else
    echo "NOT reproducible: $name" >&2
    failed=1
  fi
done
[[ $(ls "$work/packages" | wc -l) == $(ls "$first" | wc -l) ]] || { echo "different files" >&2; failed=1; }
echo "the second packaging took $((SECONDS - start)) s"
exit $failed
