#!/usr/bin/env bash
# End-to-end throughput of log2plt: a synthetic log of 4 million point lines (about 200 MB)
# converted by the release build with -f, beside a cp of the same file.
#   bench/e2e_bench.sh [LOG2PLT] [POINT_LINES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/linux/cli/log2plt}
lines=${2:-4000000}
runs=${RUNS:-3}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/log2plt-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

awk -v n="$lines" 'BEGIN {
  printf "$GPLOG,000001,06:12:07,A,start of the day\r\n"
  for (i = 0; i < n; ++i) {
    printf "%.7f %.7f %.1f %.1f %d A %05.1f %.2f\r\n", 55.7 + (i % 99991) * 1e-6, 37.6 + (i % 99989) * 1e-6,
      150 + (i % 500) / 10, (i % 90) / 10, 5 + i % 8, (i % 3600) / 10, 0.8 + (i % 50) / 100
  }
  printf "$GPLOG,000002,17:45:31,A,end of the day\r\n"
}' >"$work/day.log"
bytes=$(stat -c %s "$work/day.log")
export LANG=C LC_ALL=

# Seconds and peak kilobytes of the best of $runs runs of a command.
best() {
  local best_seconds="" best_kb=""
  for _ in $(seq "$runs"); do
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null
    local elapsed kb seconds
    elapsed=$(sed -n 's/.*Elapsed (wall clock) time.*: //p' "$work/time.txt")
    kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
    seconds=$(awk -F: '{ s = 0; for (i = 1; i <= NF; ++i) s = s * 60 + $i; print s }' <<<"$elapsed")
    if [[ -z $best_seconds ]] || awk -v a="$seconds" -v b="$best_seconds" 'BEGIN { exit !(a < b) }'; then
      best_seconds=$seconds best_kb=$kb
    fi
  done
  echo "$best_seconds $best_kb"
}

read -r cp_seconds cp_kb < <(best cp "$work/day.log" "$work/copy.log")
read -r seconds kb < <(best "$program" -f "$work/day.log")
out_bytes=$(stat -c %s "$work/day.plt")

awk -v bytes="$bytes" -v out="$out_bytes" -v lines="$lines" -v s="$seconds" -v kb="$kb" \
    -v cps="$cp_seconds" 'BEGIN {
  mb = bytes / 1e6
  printf "input          %.1f MB, %d point lines; output %.1f MB\n", mb, lines, out / 1e6
  printf "log2plt -f     %.2f s, %.0f MB/s of input, peak memory %.0f MB (%.2f x input)\n", \
    s, (s > 0 ? mb / s : 0), kb * 1024 / 1e6, kb * 1024 / bytes
  printf "cp             %.2f s, %.0f MB/s\n", cps, (cps > 0 ? mb / cps : 0)
  printf "targets        >= 250 MB/s, <= 4 x input: %s\n", \
    (s > 0 && mb / s >= 250 && kb * 1024 <= 4 * bytes) ? "met" : "NOT met"
}'
