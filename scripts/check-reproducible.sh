#!/usr/bin/env bash
# Two `make dist` runs of HEAD, in two fresh clones at different paths (one with blanks
# in it, as in "My Projects"), must leave the same files, byte for byte. The packages
# checked are left in dist/.
# Usage: scripts/check-reproducible.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${1:-$(nproc)}
commit=$(git rev-parse HEAD)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

runs=("$tmp/first" "$tmp/second clone/my projects")
for dir in "${runs[@]}"; do
  git init -q "$dir"
  git -C "$dir" fetch -q "$root" "$commit"
  git -C "$dir" checkout -q --detach "$commit"
  echo "reproducible: make dist in $dir"
  bash "$dir/scripts/dist.sh" "$jobs" >"$dir.log" 2>&1 || { cat "$dir.log" >&2; exit 1; }
done

first=${runs[0]}/dist
second=${runs[1]}/dist
status=0
if ! diff <(cd "$first" && ls) <(cd "$second" && ls); then
  echo "reproducible: the two runs made different files" >&2
  status=1
fi
for file in "$first"/*; do
  name=$(basename "$file")
  if [ -f "$second/$name" ] && ! cmp -s "$file" "$second/$name"; then
    echo "reproducible: $name differs: $(cmp "$file" "$second/$name" 2>&1 | head -1)" >&2
    status=1
  fi
done
[ $status -eq 0 ] || exit 1
rm -rf "$root/dist"
cp -r "$first" "$root/dist"
echo "reproducible: both runs of ${commit:0:7} gave the same $(ls "$first" | wc -l) files:"
cat "$root/dist/SHA256SUMS"
