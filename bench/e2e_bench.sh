#!/usr/bin/env bash
# log2plt end to end against the disk's own speed, measured in the same run: each run converts a
# synthetic log (1 GB by default) with -f in a fresh process, and the yardstick copies a file of
# the track's size and syncs it, which is what any save that reaches the disk must do at least.
# Both write a new file: freeing the blocks of a file that is replaced costs the same for any save
# (about 0.3 s per GB here), so the old track is removed before each run, as the old copy is.
#   bench/e2e_bench.sh [LOG2PLT] [LOG_MB]
# RUNS (default 3) runs of each, side by side; BENCH_DIR the folder (default $TMPDIR or /tmp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/synthetic_log.sh"
program=${1:-$root/build/linux/cli/log2plt}
log_mb=${2:-1000}
runs=${RUNS:-3}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/log2plt-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

write_synthetic_log "$log_mb" "$work/day.log"

bytes=$(stat -c %s "$work/day.log")
export LANG=C LC_ALL=

# Wall seconds and peak kilobytes of one run of a command.
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null
  cat "$work/time.txt"
}

"$program" -f "$work/day.log"  # the track's size for the yardstick, and the log in the cache
cp "$work/day.plt" "$work/track-sized"
out_bytes=$(stat -c %s "$work/day.plt")
sync

: >"$work/log2plt.txt"
: >"$work/yardstick.txt"
for _ in $(seq "$runs"); do
  rm -f "$work/copy"
  sync
  measure sh -c "cp '$work/track-sized' '$work/copy' && sync '$work/copy'" >>"$work/yardstick.txt"
  rm -f "$work/day.plt"
  sync
  measure "$program" -f "$work/day.log" >>"$work/log2plt.txt"
done

awk -v bytes="$bytes" -v out="$out_bytes" -v lines="$point_lines" -v runs="$runs" '
  function sort(a, n,   i, j, t) { for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j-1] > a[j]; --j) { t = a[j]; a[j] = a[j-1]; a[j-1] = t } }
  FILENAME == ARGV[1] { y[++ny] = $1 }
  FILENAME == ARGV[2] { s[++ns] = $1; k[ns] = $2; if ($2 > kmax) kmax = $2 }
  END {
    for (i = 1; i <= ns; ++i) r[i] = s[i] / (y[i] > 0 ? y[i] : 1e-9)
    sort(s, ns); sort(y, ny); sort(r, ns)
    mid = int((ns + 1) / 2)
    mb = bytes / 1e6
    printf "input          %.0f MB, %d point lines; track %.0f MB; %d runs each, side by side\n", mb, lines, out / 1e6, runs
    printf "log2plt -f     median %.2f s (%.2f to %.2f), %.0f MB/s of input; peak memory %.0f MiB\n", s[mid], s[1], s[ns], mb / s[mid], kmax / 1024
    printf "cp + sync      median %.2f s (%.2f to %.2f)\n", y[mid], y[1], y[ny]
    printf "ratio          median %.2f (%.2f to %.2f)\n", r[mid], r[1], r[ns]
    printf "targets        <= 1.5 x the yardstick, <= 256 MiB: %s\n", (r[mid] <= 1.5 && kmax <= 256 * 1024) ? "met" : "NOT met"
  }' "$work/yardstick.txt" "$work/log2plt.txt"
