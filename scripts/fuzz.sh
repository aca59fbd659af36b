#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, each from a fresh copy of its committed seed
# corpus (what the fuzzer finds stays in the build folder). Any crash fails the run.
# Usage: scripts/fuzz.sh <build dir with fuzz/> [seconds per target]
set -euo pipefail

build=${1:?usage: scripts/fuzz.sh <build dir> [seconds per target]}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
targets=(sha1_fuzz hmac_sha1_fuzz base64_fuzz url_encode_fuzz launch_command_fuzz signature_fuzz
  url_decode_fuzz base64_decode_fuzz verify_fuzz request_url_fuzz unicode_fuzz)

work="$build/fuzz-run"
rm -rf "$work"
mkdir -p "$work/artifacts"
failed=()
for target in "${targets[@]}"; do
  corpus="$work/corpus/$target"
  mkdir -p "$corpus"
  cp -R "$root/fuzz/corpus/$target/." "$corpus/"
  log="$work/$target.log"
  echo "fuzz: $target for ${seconds}s..."
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" "$corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target passed: ${runs:-?} runs, corpus $(ls "$corpus" | wc -l) inputs"
  else
    echo "fuzz: $target FAILED; the end of its log ($log):" >&2
    tail -n 40 "$log" >&2
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]} (reproducers in $work/artifacts)" >&2
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets passed."
