#!/usr/bin/env bash
# Flake finder: runs the Windows suite N times from cold, as a fresh machine runs it: every
# Wine prefix of the build removed before each run (wine-run.sh makes them again), each run
# on a virtual display of its own, with the parallelism of `make test`. Prints per test how
# many runs it failed in; exits non-zero when any run failed. Failing tests are not run
# again: a flaky test shows as a count, not as a pass.
# Usage: scripts/repeat-tests.sh N   (JOBS as for make, default: the number of cores)
set -uo pipefail

runs=${1:?usage: scripts/repeat-tests.sh N}
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "repeat-tests: N must be a positive whole number, not '$runs'" >&2
  exit 2
fi
jobs=${JOBS:-$(nproc)}
cd "$(dirname "$0")/.." || exit 1
build=build/windows-x64
logs=$build/repeat-tests

cmake --preset windows-x64 >/dev/null || exit 1
cmake --build --preset windows-x64 -j "$jobs" >/dev/null || exit 1
rm -rf "$logs"
mkdir -p "$logs"

wineserver=$(dirname "${KESTROW_WINE:-/usr/lib/wine/wine64}")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo wineserver)

declare -A failures=()
names=()
failed_runs=0
for ((run = 1; run <= runs; ++run)); do
  # A prefix whose server still runs is waited for before it goes.
  for prefix in "$build"/wineprefix*/; do
    [ -d "$prefix" ] && WINEPREFIX=$(cd "$prefix" && pwd) "$wineserver" -w
  done
  rm -rf "$build"/wineprefix*
  start=$(date +%s)
  bash cmake/with-display.sh ctest --preset windows-x64 -j "$jobs" >"$logs/run-$run.log" 2>&1
  status=$?
  seconds=$(($(date +%s) - start))
  if [ -z "${names[*]}" ]; then
    mapfile -t names < <(ctest --preset windows-x64 -N | sed -n 's/^ *Test *#[0-9]*: //p')
  fi
  failed=()
  if [ $status -ne 0 ]; then
    ((++failed_runs))
    mapfile -t failed < <(sed 's/^[0-9]*://' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null)
    [ ${#failed[@]} -gt 0 ] || failed=("(ctest itself, status $status)")
    cp "$build/Testing/Temporary/LastTest.log" "$logs/run-$run-tests.log" 2>/dev/null
  fi
  for name in "${failed[@]}"; do
    failures[$name]=$((${failures[$name]:-0} + 1))
  done
  echo "repeat-tests: run $run of $runs: ${seconds} s, ${#failed[@]} failed${failed:+: ${failed[*]}}"
done

echo "repeat-tests: failures per test in $runs cold runs (logs in $logs):"
for name in "${names[@]}" "${!failures[@]}"; do
  printf '%s\n' "$name"
done | awk '!seen[$0]++' | while read -r name; do
  printf '  %-48s %d of %d\n' "$name" "${failures[$name]:-0}" "$runs"
done
[ $failed_runs -eq 0 ]
