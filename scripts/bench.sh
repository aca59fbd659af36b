#!/usr/bin/env bash
# Runs kestrow_bench twice, with OpenSSL as it is and restricted to its integer code,
# and prints one table of medians.
# Usage: scripts/bench.sh <kestrow_bench executable> [output directory]
set -euo pipefail

bench=${1:?usage: scripts/bench.sh <kestrow_bench> [output dir]}
out=${2:-$(dirname "$bench")}
repetitions=${BENCH_REPETITIONS:-7}
min_time=${BENCH_MIN_TIME:-0.2}

# OpenSSL 3.0 reads its capability vector from OPENSSL_ia32cap: the first value's high half
# is CPUID.1:ECX (bit 9 SSSE3 -> 1<<41, bit 28 AVX -> 1<<60), the second value's low half
# CPUID.7:EBX (bit 29 SHA). "~" clears those bits from what the CPU reports.
integer_only_mask="~0x1000020000000000:~0x20000000"

run() {
  if ! "$bench" --benchmark_repetitions="$repetitions" --benchmark_min_time="$min_time" \
      --benchmark_report_aggregates_only=true --benchmark_out_format=json \
      --benchmark_out="$1" >"$1.log" 2>&1; then
    cat "$1.log" >&2
    return 1
  fi
}

echo "bench: OpenSSL as it is ($repetitions repetitions)..." >&2
(unset OPENSSL_ia32cap; run "$out/bench-default.json")
echo "bench: OpenSSL integer-only, OPENSSL_ia32cap=$integer_only_mask..." >&2
OPENSSL_ia32cap="$integer_only_mask" run "$out/bench-integer.json"

python3 "$(dirname "$0")/bench-table.py" "$out/bench-default.json" "$out/bench-integer.json"
