#!/usr/bin/env bash
# Peak memory of log2plt end to end (the process's maximum resident set) on a log read from
# standard input, beside the same log given by name: the copy goes to a temporary file in fixed
# pieces and the file is then converted as a stream, so a log through a pipe must stay within the
# bound of a file, 256 MiB. Each run with one worker a processor and again with 16 workers.
#   bench/pipe_memory_bench.sh [LOG2PLT] [LOG_MB]
# BENCH_DIR: the folder for the log (of LOG_MB synthetic megabytes, 1150 by default: a little
# over 1 GB); the copy goes to $TMPDIR or /tmp.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/synthetic_log.sh"
program=${1:-$root/build/linux/cli/log2plt}
megabytes=${2:-1150}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/log2plt-pipe-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LANG=C LC_ALL= LOG2PLT_CODEPAGE=1251
log=$work/ordinary.log
write_synthetic_log "$megabytes" "$log"

# peak_mib WAY [VARIABLE=VALUE...]: log2plt's own peak, in MiB, with the log given by name (file)
# or through cat on standard input (pipe).
peak_mib() {
  local way=$1
  shift
  local convert=(env "$@" /usr/bin/time -f %M "$program" -f -o /dev/null --date 2026-01-01)
  local kib
  if [[ $way == pipe ]]; then
    kib=$(cat "$log" | "${convert[@]}" - 2>&1 >/dev/null | tail -1)
  else
    kib=$("${convert[@]}" "$log" </dev/null 2>&1 >/dev/null | tail -1)
  fi
  echo $((kib / 1024))
}

printf '%-24s %10s %12s %14s\n' input MB "peak MiB" "16 workers"
over=0
for way in file pipe; do
  peak=$(peak_mib $way)
  peak16=$(peak_mib $way LOG2PLT_BENCH_WORKERS=16)
  printf '%-24s %10.0f %12.0f %14.0f\n' "$way" "$(($(stat -c %s "$log") / 1000000))" "$peak" \
    "$peak16"
  ((peak <= 256 && peak16 <= 256)) || over=1
done
((over == 0)) || echo "pipe_memory_bench: a peak is above 256 MiB"
exit $over
