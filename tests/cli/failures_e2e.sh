#!/usr/bin/env bash
# The failures of an input as the command line tells them, on Linux or (with the emulator given)
# under Wine: the cause in plain words, then the window's own text in parentheses where that
# hides it; the exit status; and no output created or changed.
#   failures_e2e.sh PROGRAM HOLD_FILE CASES_FOLDER [EMULATOR...]
set -uo pipefail
program=$1
hold_file=$2
cases=$3
shift 3
emulator=("$@")
# shellcheck source=tests/cli/e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

# run [VARIABLE=VALUE...] -- ARGS: sets status and err (standard error without CRs).
run() {
  local environment=()
  while [[ $1 != -- ]]; do
    environment+=("$1")
    shift
  done
  shift
  env "${environment[@]}" "${emulator[@]}" "$program" "$@" </dev/null >out.txt 2>err.txt
  status=$?
  err=$(tr -d '\r' <err.txt)
}

expect() {  # expect STATUS ERR-PATTERN WHAT
  [[ $status == "$1" ]] || fail "$3: status $status, not $1 (stderr: $err)"
  # shellcheck disable=SC2053
  [[ $err == $2 ]] || fail "$3: stderr '$err' does not match '$2'"
}

expect_exact() {  # expect_exact STATUS ERR WHAT
  [[ $status == "$1" ]] || fail "$3: status $status, not $1 (stderr: $err)"
  [[ $err == "$2" ]] || fail "$3: stderr '$err' is not '$2'"
}

absent() {  # absent WHAT FILE...
  local what=$1 file
  shift
  for file in "$@"; do [[ ! -e $file ]] || fail "$what: $file was created"; done
}

point() { printf 'x%013d%s\r\n' 0 "$1"; }  # a line with the stamp $1 at characters 15 to 22
cp "$cases/moscow_crlf.log" trip.log
: >empty.log
printf 'short\r\n55.1 37.1\r\n' >short.log
{ point 08:00:00; printf '55.1 37.1\r\n55.2 37.2\r\n'; printf '\033[2J "quoted" \\ and a line of well over thirty-two characters\r\n'; } >tail.log
{ point 08:00:00; printf '55.1 37.1\r\n'; point 09:00:00; } >one.log
mkdir day.log
cp trip.log day.log/inside.log

# The log's own faults, on both ways of converting: streamed (a new track) and loaded whole (the
# track replacing its own log takes that way).
for way in stream whole; do
  for log in empty short tail one; do
    cp "$log.log" "$way-$log.log"
  done
  convert() {
    if [[ $way == whole ]]; then
      run -- --date 2026-01-01 -f -o "$1" "$1"
    else
      run -- --date 2026-01-01 "$1"
    fi
  }
  convert "$way-empty.log"
  expect 1 "log2plt: $way-empty.log: the log is empty ('''' is not a valid time.)" "$way: empty log"
  convert "$way-short.log"
  expect 1 "log2plt: $way-short.log: line 1 holds no time at characters 15 to 22: \"short\" \
(\'\'\'\' is not a valid time.)" "$way: short first line"
  convert "$way-tail.log"
  expect_exact 1 "log2plt: $way-tail.log: line 4 holds no time at characters 15 to 22: \
\"\\x1B[2J \\\"quoted\\\" \\\\ and a line of we\"... (''\\ and a '' is not a valid time.)" \
    "$way: last line without a time"
  convert "$way-one.log"
  expect 1 "log2plt: $way-one.log: the log holds one point only (Floating point division by zero.)" \
    "$way: one point"
  absent "$way: faulty logs" "$way-empty.plt" "$way-short.plt" "$way-tail.plt" "$way-one.plt"
  for log in empty short tail one; do
    cmp -s "$log.log" "$way-$log.log" || fail "$way: $log.log was changed"
  done
done

# The input file's own faults.
run -- missing.log
expect 1 "log2plt: missing.log: no such file (Invalid argument to date encode.)" "no such file"
run -- --date 2026-01-01 missing.log
expect 1 "log2plt: missing.log: Cannot open file \"*missing.log\". *" "no such file, with --date"
[[ $err != *"("* ]] || fail "no such file, with --date: a second cause: $err"
run -- day.log
expect 1 "log2plt: day.log: is a folder" "a folder"
run -- --date 2026-01-01 day.log
expect 1 "log2plt: day.log: is a folder" "a folder, with --date"
absent "missing and folder" missing.plt day.plt day.log/inside.plt

# Another program holds the input: the date wants it alone.
"${emulator[@]}" "$hold_file" exclusive trip.log &
holder=$!
for _ in $(seq 200); do [[ -e trip.log.held ]] && break; sleep 0.05; done
[[ -e trip.log.held ]] || fail "the holder did not hold trip.log"
run -- trip.log
expect 1 "log2plt: trip.log: another program holds the file open (Invalid argument to date encode.)" "held open"
# With --date the log is read while the other program writes it: the cause is said where the
# system's own words do not say it (Windows speaks of another process).
run -- --date 2026-01-01 trip.log
if $windows; then
  expect 1 'log2plt: trip.log: Cannot open file "*trip.log". *' "held open, with --date"
else
  expect 1 'log2plt: trip.log: another program holds the file open (Cannot open file "*trip.log". *)' \
    "held open, with --date"
fi
rm -f trip.log.held
wait "$holder"
absent "held open" trip.plt

# The output's faults.
run -- --date 2026-01-01 -o nowhere/out.plt trip.log
expect 1 "log2plt: trip.log: the output's folder is missing (Cannot create file \"*out.plt\". *)" "output folder missing"
absent "output folder missing" nowhere
printf 'old track\r\n' >kept.plt
cp kept.plt read-only.plt
chmod a-w read-only.plt
$windows && "${emulator[@]}" cmd /c attrib +r read-only.plt
run -- -f --date 2026-01-01 -o read-only.plt trip.log
expect 1 "log2plt: trip.log: Cannot create file \"*read-only.plt\". *" "read-only output"
cmp -s kept.plt read-only.plt || fail "read-only output: changed"

if $windows; then
  run -- -f --date 2026-01-01 -o 'Z:\dev\full' trip.log
else
  run -- -f --date 2026-01-01 -o /dev/full trip.log
fi
expect 1 "log2plt: trip.log: no room left on the disk (Stream write error.)" "a full device"

if ! $windows; then
  # What root cannot be refused: the system's faults put on by the shim.
  shim=${LOG2PLT_FAULT_SHIM:-}
  [[ -f $shim ]] || fail "no fault shim in LOG2PLT_FAULT_SHIM"
  cp kept.plt full.plt
  run LD_PRELOAD="$shim" LOG2PLT_FAULT_NO_SPACE=100 -- -f --date 2026-01-01 -o full.plt trip.log
  expect 1 "log2plt: trip.log: no room left on the disk (Stream write error.)" "a full disk"
  cmp -s kept.plt full.plt || fail "a full disk: the old track was changed"
  cp trip.log secret.log
  run LD_PRELOAD="$shim" LOG2PLT_FAULT_DENY=secret.log -- secret.log
  expect 1 "log2plt: secret.log: no permission (Invalid argument to date encode.)" "no permission"
  run LD_PRELOAD="$shim" LOG2PLT_FAULT_DENY=secret.log -- --date 2026-01-01 secret.log
  expect 1 "log2plt: secret.log: Cannot open file \"*secret.log\". Permission denied." \
    "no permission, with --date"
  absent "no permission" secret.plt
fi

# The summary on request, on both ways, and none for a declined replacement.
run -- -v --date 2026-01-01 trip.log
expect 0 "trip.log -> trip.plt: 7 points, 08:00:00 to 09:00:00" "summary"
run -- -v --date 2026-01-01 -o - trip.log
expect 0 "trip.log -> standard output: 7 points, 08:00:00 to 09:00:00" "summary to standard output"
cp trip.log whole.log
run -- --verbose -f --date 2026-01-01 -o whole.log whole.log
expect 0 "whole.log -> whole.log: 7 points, 08:00:00 to 09:00:00" "summary, loaded whole"
run -- -v --date 2026-01-01 trip.log
expect 1 "log2plt: trip.log: File \"*trip.plt\" already exists; -f replaces it." "no summary when declined"
run -- -v --date 2026-01-01 short.log trip.log -f
[[ $err == *"line 1 holds"*"trip.log -> trip.plt: 7 points"* ]] ||
  fail "a batch goes on after a failure: $err"

[[ $failures == 0 ]] || exit 1
echo "all command-line failure cases passed"
