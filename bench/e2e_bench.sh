#!/usr/bin/env bash
# log2plt end to end against the disk's own speed, measured in the same run: each run converts a
# synthetic log (1 GB by default) with -f in a fresh process, and the yardstick copies a file of
# the track's size and syncs it, which is what any save that reaches the disk must do at least.
# Two cases, side by side: a new track against a copy to a new file, and a track replacing one of
# the same size against the least that an all-or-nothing replacement costs: a copy to a new file,
# synced, renamed over the old one (whose blocks are then freed), and the folder synced. (A copy
# onto the old file would reuse its blocks, which no save that never half-writes a file can do.)
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

: >"$work/new-log2plt.txt"
: >"$work/new-yardstick.txt"
: >"$work/replace-log2plt.txt"
: >"$work/replace-yardstick.txt"
for _ in $(seq "$runs"); do
  # A new file: nothing of the name exists before.
  rm -f "$work/copy"
  sync
  measure sh -c "cp '$work/track-sized' '$work/copy' && sync '$work/copy'" >>"$work/new-yardstick.txt"
  rm -f "$work/day.plt"
  sync
  measure "$program" -f "$work/day.log" >>"$work/new-log2plt.txt"
  # Replacing a file of the same size, which the last runs left.
  sync
  measure sh -c "cp '$work/track-sized' '$work/copy.new' && sync '$work/copy.new' &&
    mv '$work/copy.new' '$work/copy' && sync '$work'" >>"$work/replace-yardstick.txt"
  sync
  measure "$program" -f "$work/day.log" >>"$work/replace-log2plt.txt"
done

report() {
  awk -v bytes="$bytes" -v out="$out_bytes" -v lines="$point_lines" -v runs="$runs" -v case="$1" '
    function sort(a, n,   i, j, t) { for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j-1] > a[j]; --j) { t = a[j]; a[j] = a[j-1]; a[j-1] = t } }
    FILENAME == ARGV[1] { y[++ny] = $1 }
    FILENAME == ARGV[2] { s[++ns] = $1; k[ns] = $2; if ($2 > kmax) kmax = $2 }
    END {
      for (i = 1; i <= ns; ++i) r[i] = s[i] / (y[i] > 0 ? y[i] : 1e-9)
      sort(s, ns); sort(y, ny); sort(r, ns)
      mid = int((ns + 1) / 2)
      mb = bytes / 1e6
      printf "%s\n", case
      printf "  log2plt -f     median %.2f s (%.2f to %.2f), %.0f MB/s of input; peak memory %.0f MiB\n", s[mid], s[1], s[ns], mb / s[mid], kmax / 1024
      printf "  yardstick      median %.2f s (%.2f to %.2f)%s\n", y[mid], y[1], y[ny], (y[ny] > 1.2 * y[1]) ? "  (spread over 20 %: a busy machine, measure again)" : ""
      printf "  ratio          median of the pairs %.2f (%.2f to %.2f)\n", r[mid], r[1], r[ns]
    }' "$work/$2-yardstick.txt" "$work/$2-log2plt.txt"
}
printf "input          %d MB, %d point lines; track %d MB; %d runs of each, side by side\n" \
  "$((bytes / 1000000))" "$point_lines" "$((out_bytes / 1000000))" "$runs"
report "a new track, against cp to a new file" new
report "replacing a track, against cp to a new file + sync + mv over the old one + sync" replace
