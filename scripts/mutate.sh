#!/usr/bin/env bash
# How many planted faults do the tests catch? Runs scripts/mutate.py (its header says how it
# plants them) in a fresh clone of HEAD, so the working tree is never touched; uncommitted
# changes are not measured. Slow: a rebuild and a test run per fault.
#   scripts/mutate.sh [N [SEED [FILES... | window]]]
# Defaults: 120 faults, seed 7, the portable files. Window files (controls/, framework/, app/
# outside the portable core) are tested under Wine, with the Windows build made first;
# "window" stands for all of them.
set -euo pipefail

root=$(git rev-parse --show-toplevel)
n=${1:-120}
seed=${2:-7}
shift $(($# < 2 ? $# : 2))
jobs=${JOBS:-2}
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrow-mutate.XXXXXX")
trap 'rm -rf "$work"' EXIT

git clone --quiet --no-hardlinks "$root" "$work/clone"
cd "$work/clone"
portable='^(crypto|engine|tools)/|^app/sample_request\.cpp|^framework/(cstring|byte_array|secure_wipe)\.cpp|^controls/launch_command\.cpp'
if [[ ${1:-} == window ]]; then
    mapfile -t window < <(git ls-files controls framework app | grep -E '\.cpp$' | grep -vE "$portable")
    set -- "${window[@]}"
fi
echo "mutate: $(git rev-parse --short HEAD), $n faults, seed $seed, in $work/clone"
presets=(native)
for file in "$@"; do
    [[ $file =~ $portable ]] || presets=(native windows-x64)
done
# Every fault would count as caught if the tests failed without one.
for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs" >/dev/null
done
ctest --preset native -j "$jobs" --output-on-failure >/dev/null
if [[ ${presets[*]} == *windows-x64* ]]; then
    bash cmake/with-display.sh ctest --preset windows-x64 -j "$jobs" >/dev/null
fi
python3 scripts/mutate.py "$work/clone" "$n" "$seed" "$@"
