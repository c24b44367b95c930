#!/usr/bin/env bash
# Wildcards among log2plt's inputs, end to end, on Linux or (with the emulator given) under Wine:
#   wildcards_e2e.sh PROGRAM CASES_FOLDER [EMULATOR...]
# Windows hands the patterns to the program, which expands them; on Linux the shell has done so,
# and a pattern that still arrives picked nothing.
set -uo pipefail
program=$1
cases=$2
shift 2
emulator=("$@")
# shellcheck source=tests/cli/e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

# Runs log2plt on a fresh folder state (no tracks) with its words as given, none of them
# expanded by this shell; sets status and err.
run() {
  find . -name '*.plt' -delete
  "${emulator[@]}" "$program" "$@" </dev/null >/dev/null 2>err.txt
  status=$?
  err=$(tr -d '\r' <err.txt)
}

# expect STATUS STDERR TRACKS WHAT: the exact standard error and every track in the tree.
expect() {
  local tracks
  tracks=$(find . -name '*.plt' | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
  [[ $status == "$1" ]] || fail "$4: status $status, not $1 (stderr: $err)"
  [[ $err == "$2" ]] || fail "$4: stderr '$err', not '$2'"
  [[ $tracks == "$3" ]] || fail "$4: tracks '$tracks', not '$3'"
}

log=$cases/moscow_crlf.log
# A log that fails to convert, so that standard error shows the order of the inputs.
bad=$'$GPLOG,000001,10:00:00,A\r\n1 2\r\n$GPLOG,000002,11:00:00,A\r\n'
zero="the log holds one point only (Floating point division by zero.)"

if $windows; then
  mkdir logs order folder.log
  cp "$log" a.log
  cp "$log" b.log
  cp "$log" Трек.log
  cp "$log" trip.logx
  cp "$log" hidden.log
  cp "$log" system.log
  cp "$log" logs/c.log
  cp "$log" logs/d.log
  printf '%s' "$bad" >order/b.log
  printf '%s' "$bad" >order/_x.log
  printf '%s' "$bad" >order/A.log
  "${emulator[@]}" cmd /c attrib +h hidden.log
  "${emulator[@]}" cmd /c attrib +s system.log
  attributes=$("${emulator[@]}" cmd /c attrib | tr -d '\r')
  [[ $attributes == *"H "*hidden.log* && $attributes == *S*system.log* ]] ||
    fail "attrib did not mark the files: $attributes"

  # Files only, by their long names, in name order; not a folder, a hidden or a system file,
  # nor trip.logx, whose short name TRIP~1.LOG the system's own search would match.
  run -f --date 2026-01-01 '*.log'
  expect 0 "" "a.plt b.plt Трек.plt " "*.log"
  run -f --date 2026-01-01 '?.LOG'
  expect 0 "" "a.plt b.plt " "?.LOG"
  run -f --date 2026-01-01 'Тр??.log'
  expect 0 "" "Трек.plt " "a Cyrillic name"
  run -f --date 2026-01-01 'trip*.log' 'hid*' '?.log' 'sys*' 'fold*'
  expect 1 "log2plt: trip*.log: no file matches
log2plt: hid*: no file matches
log2plt: sys*: no file matches
log2plt: fold*: no file matches" "a.plt b.plt " "patterns that pick nothing among one that does"

  # The folder as typed, the names in ordinal order ignoring case ("_" after the letters),
  # patterns and names in command-line order.
  run -f --date 2026-01-01 'order\*.log' b.log 'logs/*'
  expect 1 "log2plt: order\\A.log: $zero
log2plt: order\\b.log: $zero
log2plt: order\\_x.log: $zero" "b.plt logs/c.plt logs/d.plt " "a pattern in a folder, mixed with names"
  # A wildcard in a folder's name is taken as it is.
  run -f --date 2026-01-01 'lo?s\c.log'
  [[ $status == 1 && $err == 'log2plt: lo?s\c.log: Cannot open file "'*'\lo?s\c.log". '* ]] ||
    fail "a wildcard in a folder part: status $status, stderr '$err'"
  run -f --date 2026-01-01 -- 'logs\*.log'
  expect 0 "" "logs/c.plt logs/d.plt " "a pattern after --"

  # -o takes one input, counted after the expansion; its own value is never expanded.
  run -f --date 2026-01-01 -o one.plt 'logs\c*'
  expect 0 "" "one.plt " "-o with a pattern of one file"
  run -f --date 2026-01-01 -o one.plt 'logs\*'
  expect 2 "log2plt: -o needs exactly one input file
Try 'log2plt --help'." "" "-o with a pattern of two files"

  # Quoted, a pattern is a name like any other. Only cmd passes quotes through as typed.
  printf '@"%s" -f --date 2026-01-01 "*.log" "logs"\\*.log\r\n@exit /b %%errorlevel%%\r\n' \
    "Z:${program//\//\\}" >quoted.bat
  find . -name '*.plt' -delete
  "${emulator[@]}" cmd /c quoted.bat </dev/null >/dev/null 2>err.txt
  status=$?
  first=$(sed -n 1p err.txt | tr -d '\r')
  second=$(sed -n 2p err.txt | tr -d '\r')
  [[ $status == 1 ]] || fail "quoted patterns: status $status, not 1"
  [[ $first == 'log2plt: *.log: Cannot open file "'*'\*.log". '* ]] ||
    fail "a quoted pattern: stderr '$first'"
  [[ $second == 'log2plt: logs\*.log: Cannot open file "'*'\logs\*.log". '* ]] ||
    fail "a partly quoted pattern: stderr '$second'"
  [[ -z $(find . -name '*.plt') ]] || fail "quoted patterns made tracks: $(find . -name '*.plt')"
else
  mkdir logs
  cp "$log" a.log
  cp "$log" logs/c.log
  cp "$log" 'st*r.log'

  # The shell left the pattern as it was: it picked nothing, and the other inputs go on.
  run -f --date 2026-01-01 'zz*.log' a.log 'logs/?.log'
  expect 1 "log2plt: zz*.log: no file matches
log2plt: logs/?.log: no file matches" "a.plt " "patterns that picked nothing"
  # A name that really holds a wildcard is no pattern: the conversion itself refuses it.
  run -f --date 2026-01-01 'st*r.log'
  [[ $status == 1 && $err == 'log2plt: st*r.log: Cannot open file "'*'/st*r.log". Invalid argument.' ]] ||
    fail "an existing name with a star: status $status, stderr '$err'"
  # Option values are never patterns.
  run -f --date 2026-01-01 -o '?.plt' a.log
  [[ $status == 1 && $err == 'log2plt: a.log: Cannot create file "'*'/?.plt". Invalid argument.' ]] ||
    fail "an -o value with a wildcard: status $status, stderr '$err'"
fi

echo "wildcards end to end: $failures failed"
exit $((failures > 0))
