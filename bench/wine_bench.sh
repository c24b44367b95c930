#!/usr/bin/env bash
# The Windows build under Wine against the Linux build on the same log (100 MB by default):
# RUNS (default 3) runs of each, side by side, in fresh processes.
#   bench/wine_bench.sh [LOG_MB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/synthetic_log.sh"
log_mb=${1:-100}
runs=${RUNS:-3}
linux=$root/build/linux/cli/log2plt
windows=$root/build/windows/cli/log2plt.exe
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix} WINEDEBUG=-all
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/log2plt-wine-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

write_synthetic_log "$log_mb" "$work/day.log"
# Both systems give the German locale alike, so the two tracks must match byte for byte; the
# timing itself is read in the C locale.
export LANG=C LC_ALL=
german=(env LANG=de_DE.UTF-8)

# The server stays up across the runs, as it does for a user; its output is not ours.
wineserver -p >/dev/null 2>&1 </dev/null || true
"${german[@]}" wine "$windows" -f "$work/day.log" -o "$work/windows.plt" </dev/null
"${german[@]}" "$linux" -f "$work/day.log" -o "$work/linux.plt"
cmp "$work/windows.plt" "$work/linux.plt" || echo "the two builds wrote different tracks"

seconds() { /usr/bin/time -f '%e' -o "$work/t" "$@" </dev/null >/dev/null 2>&1; cat "$work/t"; }
: >"$work/runs.txt"
for _ in $(seq "$runs"); do
  l=$(seconds "${german[@]}" "$linux" -f "$work/day.log" -o "$work/linux.plt")
  w=$(seconds "${german[@]}" wine "$windows" -f "$work/day.log" -o "$work/windows.plt")
  echo "$l $w" >>"$work/runs.txt"
done
awk '{ l[NR] = $1; w[NR] = $2; r[NR] = $2 / ($1 > 0 ? $1 : 1e-9) }
  function sort(a, n,   i, j, t) { for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j-1] > a[j]; --j) { t = a[j]; a[j] = a[j-1]; a[j-1] = t } }
  END {
    n = NR; sort(l, n); sort(w, n); sort(r, n); m = int((n + 1) / 2)
    printf "Linux build    median %.2f s (%.2f to %.2f)\n", l[m], l[1], l[n]
    printf "Windows, Wine  median %.2f s (%.2f to %.2f)\n", w[m], w[1], w[n]
    printf "ratio          median %.2f (%.2f to %.2f); target <= 1.5: %s\n", r[m], r[1], r[n], r[m] <= 1.5 ? "met" : "NOT met"
  }' "$work/runs.txt"
