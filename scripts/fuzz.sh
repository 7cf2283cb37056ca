#!/usr/bin/env bash
# Fuzzes the decoders of outside data, the registry value reader, the
# report builder and the reader of saved JSON reports, each for a fixed time (libFuzzer, clang, AddressSanitizer
# and UndefinedBehaviorSanitizer):
#
#   scripts/fuzz.sh [SECONDS] [--check]
#
# SECONDS is each target's time, 60 by default. Each run starts from the
# target's corpus in fuzz/corpus/<target> and then merges into it the inputs
# that reached code it did not, so that the corpus stays small; --check
# leaves the corpus alone (the test command runs it so). A finding stops the
# script with its input in build/fuzz/findings/<target>/: once it is mended,
# keep that input in fuzz/corpus/<target>/ under a name that says what it
# found, where the native test build replays it with the rest.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
merge=1
for argument in "$@"; do
  case $argument in
    --check) merge=0 ;;
    '' | *[!0-9]*)
      echo "usage: scripts/fuzz.sh [SECONDS] [--check]" >&2
      exit 2
      ;;
    *) seconds=$argument ;;
  esac
done

scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

for target in registry report report_json; do
  program=build/fuzz/fuzz/fuzz_$target
  corpus=fuzz/corpus/$target
  work=build/fuzz/work/$target
  findings=build/fuzz/findings/$target
  log=build/fuzz/$target.log
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  echo "== fuzz $target for ${seconds}s (log: $log)"
  # New inputs go to the scratch folder first; the corpus is only read.
  if ! "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$corpus" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz $target: a finding, its input in $findings/" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log" || true
  if [ "$merge" -eq 1 ]; then
    # Only inputs that reach new code, not merely new counts of it: the
    # corpus stays a few hundred small files.
    "$program" -merge=1 -use_counters=0 "$corpus" "$work" >>"$log" 2>&1
    echo "corpus $corpus: $(find "$corpus" -type f | wc -l) inputs"
  fi
done
