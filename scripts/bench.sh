#!/usr/bin/env bash
# Prints how long Velmora takes against the least program doing the same job.
#
# - Natively (Release, no sanitizers; registry and environment from the
#   double, real files): the report and its text against a plain write of its
#   bytes, and the registry reads and lookups, with Google Benchmark.
# - Under Wine, in a prefix of its own (build/bench-wineprefix) and one Wine
#   session with a private Xvfb: start-up with a typical PATH and with 2,900
#   entries, the sort refill, and View Report with a typical and with the
#   largest environment, each against its floor, in alternating runs; the
#   medians and their ratio. And VelmoraReport.exe: its text report against
#   the least console program writing as many bytes, and its JSON of the
#   largest environment against its text report.
#
# VELMORA_BENCH_RUNS sets the repetitions (native: 5; Wine: 11 runs of each);
# VELMORA_BENCH_JOBS picks Wine jobs ("startup,controls,refill,marks,report,console"
# by default; "controls" times start-up against the least program showing the
# same window, "startup" against a window with the two lists only, "marks" the
# time until every entry's mark has settled against listing the same folders).
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

# Start-up is timed on the program as it ships (Release, stripped), against a
# floor stripped the same way.
cmake --preset windows-release >/dev/null
cmake --build --preset windows-release --target Velmora VelmoraReport
cmake --preset windows >/dev/null
cmake --build --preset windows --target startup_floor design_controls_floor console_floor \
  floor_timing
printf '\n== windows (x86_64) under Wine, against the floor\n'
# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_start "$root/build/bench-wineprefix" xvfb
wine build/windows/benchmarks/floor_timing.exe \
  "$(winepath -w build/windows-release/src/window/Velmora.exe)" \
  "$(winepath -w build/windows/benchmarks/startup_floor.exe)" \
  "${VELMORA_BENCH_RUNS:-11}" "${VELMORA_BENCH_JOBS:-startup,controls,refill,marks,report,console}" \
  "$(winepath -w build/windows-release/src/console/VelmoraReport.exe)"
