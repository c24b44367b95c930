#!/usr/bin/env bash
# log2plt reading its log from standard input ("-"), end to end on Linux or (with the emulator
# given) under Wine:
#   pipe_e2e.sh PROGRAM CASES_FOLDER [EMULATOR...]
set -uo pipefail
program=$1
cases=$2
shift 2
emulator=("$@")
# shellcheck source=tests/cli/e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
date=2009-08-12

# The copies of standard input go to the system's temporary folder: a private one here, and on
# Windows the one Wine gives the user, which the environment does not change.
mkdir tmp
export TMPDIR=$work/tmp
if $windows; then
  temp=$("${emulator[@]}" cmd /c 'echo %TEMP%' | tr -d '\r')
  temp=$("${emulator[@]}" winepath -u "$temp" | tr -d '\r')
fi
# The copies left in the temporary folder, one a line.
left_copies() {
  local pattern=$TMPDIR/'.log2plt-*'
  $windows && pattern=$temp/'~log2plt-*.tmp'
  compgen -G "$pattern"
}
already_left=$(left_copies)
no_copy_left() {  # no_copy_left WHAT
  [[ $(left_copies) == "$already_left" ]] || fail "$1: a copy of standard input was left"
}

# pipe LOG ARGS...: runs log2plt with LOG through a pipe; sets status and err, the track in out.plt.
pipe() {
  local log=$1
  shift
  cat "$log" | "${emulator[@]}" "$program" "$@" >out.plt 2>err.txt
  status=$?
  err=$(tr -d '\r' <err.txt)
}
# from_file ARGS...: the track of a log given by name, on standard output, into file.plt.
from_file() {
  "${emulator[@]}" "$program" -o - "$@" </dev/null >file.plt 2>/dev/null || fail "log2plt -o - $*"
}

expect() {  # expect STATUS ERR-PATTERN WHAT
  [[ $status == "$1" ]] || fail "$3: status $status, not $1 (stderr: $err)"
  [[ $err == $2 ]] || fail "$3: stderr '$err' does not match '$2'"
}

# A log whose bytes a text-mode read would change: CR LF, a lone LF, 0x1A and, after the last
# stamp, a NUL with more text behind it.
{
  printf '$GPLOG,000001,06:12:07,A,start\r\n'
  printf '55.7512 37.6184 \x1a\r\n55.7513 37.6185\n55.7514 37.6186\r\n'
  printf '$GPLOG,000002,07:12:07,A,end\r\n\x00\x1a\r\n99 99\r\n'
} >raw.log
cp "$cases/moscow_crlf.log" day1.log

# Through a pipe the track has the bytes of the same log given by name, on standard output or
# in the file -o names; a second run shows the copy is read as often as the conversion needs.
for log in "$cases"/*.log raw.log; do
  name=$(basename "$log")
  from_file --date $date "$log"
  pipe "$log" --date $date -
  expect 0 "" "$name through a pipe"
  cmp -s out.plt file.plt || fail "$name through a pipe: not the track of the file"
  rm -f named.plt
  pipe "$log" --date $date -o named.plt -
  expect 0 "" "$name through a pipe into -o"
  [[ -s out.plt ]] && fail "$name through a pipe into -o: wrote to standard output"
  cmp -s named.plt file.plt || fail "$name through a pipe into -o: not the track of the file"
done
no_copy_left "a converted log"

# Usage errors, before anything is read or written; - counts as an input after -- too.
usage_error() {  # usage_error MESSAGE ARGS...
  local message=$1
  shift
  { "${emulator[@]}" "$program" "$@" >out.plt 2>err.txt; status=$?; cat >rest.log; } <day1.log
  err=$(tr -d '\r' <err.txt)
  expect 2 "log2plt: $message"$'\n'"Try 'log2plt --help'." "$*"
  [[ -s out.plt || -e x.plt || -e plt ]] && fail "$*: wrote a track"
  cmp -s rest.log day1.log || fail "$*: read standard input"
}
usage_error "- (standard input) needs --date YYYY-MM-DD: a pipe has no file date" -
usage_error "- (standard input) needs --date YYYY-MM-DD: a pipe has no file date" -o x.plt -- -
usage_error "- (standard input) may be given only once" --date $date - -
usage_error "- (standard input) may be given only once" --date $date - -- -
usage_error "-o needs exactly one input file" -o x.plt --date $date - day1.log
no_copy_left "a usage error"

# After --, and beside a file, which is converted as ever; a failing file does not stop it.
pipe day1.log --date $date -- -
expect 0 "" "- after --"
from_file --date $date day1.log
cmp -s out.plt file.plt || fail "- after --: not the track"
rm -f day1.plt
pipe day1.log --date $date missing.log day1.log -
expect 1 'log2plt: missing.log: Cannot open file "*missing.log". ?*[^.].' "- beside files"
cmp -s out.plt file.plt || fail "- beside files: not the track on standard output"
cmp -s day1.plt "$cases/moscow_crlf.plt" || fail "- beside files: the file was not converted"

# The summary names standard input too.
pipe day1.log -v --date $date -
expect 0 "standard input -> standard output: 7 points, 08:00:00 to 09:00:00" "-v"
pipe day1.log -v -f --date $date -o summed.plt -
expect 0 "standard input -> summed.plt: 7 points, 08:00:00 to 09:00:00" "-v with -o"

# An existing output is kept without -f, since no one can be asked while standard input holds
# the log, and replaced with -f.
echo old >kept.plt
pipe day1.log --date $date -o kept.plt -
expect 1 'log2plt: standard input: File "*kept.plt" already exists; -f replaces it.' "existing -o"
[[ $(cat kept.plt) == old ]] || fail "existing -o: the file was changed"
pipe day1.log -f --date $date -o kept.plt -
expect 0 "" "existing -o with -f"
cmp -s kept.plt file.plt || fail "existing -o with -f: not replaced by the track"

# Failures name standard input, never the copy.
printf '$GPLOG,000001,10:00:00,A\r\n1 2\r\n$GPLOG,000002,11:00:00,A\r\n' >three.log
pipe three.log --date $date -o three.plt -
expect 1 "log2plt: standard input: the log holds one point only (Floating point division by zero.)" \
  "a failing log"
[[ -e three.plt ]] && fail "a failing log wrote its track"
no_copy_left "a failing log"

if ! $windows; then
  shim=${LOG2PLT_FAULT_SHIM:-}
  [[ -f $shim ]] || fail "no fault shim in LOG2PLT_FAULT_SHIM"
  # The copy fails to be read back, and cannot be written whole (a full disk).
  cat day1.log | LD_PRELOAD=$shim LOG2PLT_FAULT_READ=error:100 "$program" --date $date - \
    >out.plt 2>err.txt
  status=$? err=$(<err.txt)
  expect 1 'log2plt: standard input: Cannot read file "standard input". Input/output error.' \
    "a failing read of the copy"
  for i in $(seq 30); do cat day1.log; done >big.log
  status=0
  (ulimit -f 4 && cat big.log | "$program" --date $date - >/dev/null 2>err.txt) || status=$?
  err=$(<err.txt)
  expect 1 "log2plt: standard input: Cannot copy the log to a temporary file. File too large." \
    "a full disk"
  no_copy_left "a failing copy"
fi

# A run stopped while it still reads a slow pipe removes its copy and ends with the signal's
# status (Ctrl-C only on Windows, where Wine passes on the low byte of STATUS_CONTROL_C_EXIT). The
# copy is private while it exists. (The shell's own notes about the stopped jobs go to /dev/null.)
stops=("INT 130" "TERM 143" "HUP 129")
$windows && stops=("INT 58")
for stop in "${stops[@]}"; do
  read -r signal want <<<"$stop"
  rm -f stopped.plt
  set -m  # a job of its own, or the shell would have it ignore SIGINT
  (sleep 3 && cat day1.log) | "${emulator[@]}" "$program" --date $date -o stopped.plt - 2>/dev/null &
  pid=$!
  set +m
  for ((i = 0; i < 400; i++)); do [[ $(left_copies) != "$already_left" ]] && break || sleep 0.01; done
  copy=$(comm -13 <(echo "$already_left") <(left_copies))
  [[ -n $copy ]] || fail "SIG$signal: no copy while the pipe is read"
  $windows || [[ $(stat -c %a "$copy" 2>/dev/null) == 600 ]] || fail "SIG$signal: the copy is not private"
  kill -s "$signal" $pid
  wait $pid
  status=$?
  [[ $status == "$want" ]] || fail "SIG$signal: status $status, not $want"
  [[ -e stopped.plt ]] && fail "SIG$signal: a track was written"
  no_copy_left "SIG$signal"
done 2>/dev/null

echo "log2plt from a pipe: $failures failed"
exit $((failures > 0))
