#!/usr/bin/env bash
# How many planted faults do the tests catch? Runs scripts/mutate.py (its header says how it
# plants them) in a fresh clone of HEAD, so the working tree is never touched; uncommitted
# changes are not measured. Slow: a rebuild and a test run per fault.
#   scripts/mutate.sh [N [SEED [FILES...]]]
# Defaults: 120 faults, seed 7, the portable files. Window files (controls/, framework/, app/
# outside the portable core) are tested under Wine, with the Windows build made first.
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
echo "mutate: $(git rev-parse --short HEAD), $n faults, seed $seed, in $work/clone"
presets=(native)
for file in "$@"; do
    case $file in
    crypto/* | engine/* | tools/* | app/sample_request.cpp | framework/cstring.cpp | \
        framework/byte_array.cpp | controls/launch_command.cpp) ;;
    *) presets=(native windows-x64) ;;
    esac
done
# Every fault would count as caught if the tests failed without one.
for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs" >/dev/null
done
ctest --preset native -j "$jobs" --output-on-failure -E kestrow_install_consumer >/dev/null
if [[ ${presets[*]} == *windows-x64* ]]; then
    bash cmake/with-display.sh ctest --preset windows-x64 -j "$jobs" >/dev/null
fi
python3 scripts/mutate.py "$work/clone" "$n" "$seed" "$@"
