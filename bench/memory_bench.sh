#!/usr/bin/env bash
# Peak memory of log2plt end to end (the process's maximum resident set) on the logs that stress
# the stream's bounds: short lines that expand most into track text, one huge line, long lines,
# and the same in UTF-8 with Cyrillic comments and in UTF-16. Each log is converted with one
# worker a processor and again with 16 workers; every figure must stay within 256 MiB.
#   bench/memory_bench.sh [LOG2PLT]
# BENCH_DIR: the folder for the logs (about 7 GB; default $TMPDIR or /tmp).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/synthetic_log.sh"
program=${1:-$root/build/linux/cli/log2plt}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/log2plt-memory.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LANG=C LC_ALL= LOG2PLT_CODEPAGE=1251

first=$'$GPLOG,000001,06:12:07,A,start\r'
last=$'$GPLOG,000002,17:45:31,A,end\r'
# A log of about MB megabytes of one repeated line between the two stamp lines.
repeated_log() {
  { echo "$first"; yes "$2" | head -n "$(($1 * 1000000 / (${#2} + 1)))" || true; echo "$last"; } >"$3"
}

write_synthetic_log 1000 "$work/ordinary.log"
repeated_log 100 $'1 2\r' "$work/one-two.log"
{ echo "$first"
  awk 'BEGIN { for (i = 0; i < 60000000 / 5; ++i) printf "%s\r\n", substr("7777777", 1, i % 8) }'
  echo "$last"; } >"$work/tiny.log"
repeated_log 10 $'\r' "$work/empty-10.log"
repeated_log 50 $'\r' "$work/empty-50.log"
# Two points: one huge line and a short one.
{ echo "$first"; echo $'1 2\r'; head -c 1000000000 /dev/zero | tr '\0' 'x'; echo; echo "$last"; } >"$work/one-line.log"
long_line="55.1 37.2 $(printf '%5000s' '' | tr ' ' 'y')"
repeated_log 200 "$long_line"$'\r' "$work/long-lines.log"
sed $'s/\r$/ \xd0\xb6\xd1\x83\xd0\xba\r/' "$work/ordinary.log" | sed $'1s/^/\xef\xbb\xbf/' >"$work/utf8-cyrillic.log"
iconv -f UTF-8 -t UTF-16 "$work/ordinary.log" >"$work/utf16.log"
iconv -f UTF-8 -t UTF-16 "$work/empty-50.log" >"$work/utf16-empty-50.log"
{ printf '\xef\xbb\xbf'; echo "$first"; echo $'1 2\r'; printf '\xc3\xa9'; head -c 1000000000 /dev/zero | tr '\0' 'x'; echo; echo "$last"; } \
  >"$work/one-line-e-acute.log"

printf '%-24s %10s %12s %14s\n' log MB "peak MiB" "16 workers"
for log in ordinary one-two tiny empty-10 empty-50 one-line long-lines utf8-cyrillic utf16 \
  utf16-empty-50 one-line-e-acute; do
  file="$work/$log.log"
  peak=$(/usr/bin/time -f %M "$program" -f -o /dev/null "$file" 2>&1 >/dev/null | tail -1 || true)
  peak16=$(LOG2PLT_BENCH_WORKERS=16 /usr/bin/time -f %M "$program" -f -o /dev/null "$file" 2>&1 >/dev/null | tail -1 || true)
  printf '%-24s %10.0f %12.0f %14.0f\n' "$log" "$(($(stat -c %s "$file") / 1000000))" \
    "$((peak / 1024))" "$((peak16 / 1024))"
done
