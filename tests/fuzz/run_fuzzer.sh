#!/usr/bin/env bash
# Runs a fuzz target over its seeds, then on new inputs for a given time:
#   run_fuzzer.sh [--fresh] FUZZER SEEDS SECONDS WORK
# New inputs collect in WORK/corpus (emptied first with --fresh; the seeds are never written),
# an input that fails is kept in WORK. Prints how many inputs ran clean, and keeps that line in
# WORK/summary.
set -uo pipefail
fresh=false
if [[ ${1:-} == --fresh ]]; then
  fresh=true
  shift
fi
fuzzer=$1
seeds=$2
seconds=$3
work=$4
name=$(basename "$fuzzer")

$fresh && rm -rf "$work/corpus"
mkdir -p "$work/corpus"
rm -f "$work/summary"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/corpus" "$seeds" >"$work/log" 2>&1
status=$?
if ((status != 0)); then
  tail -n 60 "$work/log"
  echo "$name: failed; the input is kept in $work"
  exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
echo "$name: $runs inputs ran clean in $seconds s ($(ls "$seeds" | wc -l) seeds)" | tee "$work/summary"
