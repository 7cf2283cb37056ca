#!/usr/bin/env bash
# Prints how long the report takes against a plain write of its bytes: on the
# native build (Google Benchmark; registry and environment from the double,
# real files), and on the Windows build under Wine (real registry, environment
# and files). Set VELMORA_BENCH_RUNS for more repetitions of the native one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh
cmake --preset native-release >/dev/null
cmake --build --preset native-release --target report_benchmark entry_checks_benchmark
printf '\n== native (Release, no sanitizers)\n'
build/native-release/benchmarks/report_benchmark \
  --benchmark_repetitions="${VELMORA_BENCH_RUNS:-5}" --benchmark_report_aggregates_only=true
printf '\n== judging the PATH entries at start-up, native\n'
build/native-release/benchmarks/entry_checks_benchmark \
  --benchmark_repetitions="${VELMORA_BENCH_RUNS:-5}" --benchmark_report_aggregates_only=true

cmake --preset windows >/dev/null
cmake --build --preset windows --target report_timing
printf '\n== windows (x86_64) under Wine\n'
source scripts/wine-session.sh
wine_session_start "$root/build/windows/wineprefix"
wine build/windows/benchmarks/report_timing.exe
