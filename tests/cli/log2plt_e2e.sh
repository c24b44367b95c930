#!/usr/bin/env bash
# log2plt end to end, on Linux or (with the emulator given) under Wine:
#   log2plt_e2e.sh PROGRAM CASES_FOLDER [EMULATOR...]
set -uo pipefail
program=$1
cases=$2
shift 2
emulator=("$@")
# shellcheck source=tests/cli/e2e_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"

# Runs log2plt with standard input from /dev/null; sets status, out and err.
run() {
  out=$("${emulator[@]}" "$program" "$@" </dev/null 2>err.txt)
  status=$?
  err=$(tr -d '\r' <err.txt)
}

expect() {  # expect STATUS ERR-PATTERN WHAT
  [[ $status == "$1" ]] || fail "$3: status $status, not $1 (stderr: $err)"
  [[ $err == $2 ]] || fail "$3: stderr '$err' does not match '$2'"
}

cp "$cases/moscow_crlf.log" day1.log

# Usage.
run
expect 2 "log2plt: no input file*Try 'log2plt --help'." "no input"
run -o x.plt day1.log day1.log
expect 2 "log2plt: -o needs exactly one input file*" "-o with two inputs"
run --date 2009-02-29 day1.log
expect 2 "log2plt: --date 2009-02-29 is not a calendar date*" "invalid --date"
run --frobnicate day1.log
expect 2 "log2plt: unknown option --frobnicate*" "unknown option"
run --help
expect 0 "" "--help"
[[ $out == Usage:* ]] || fail "--help prints no usage"
run --version
[[ $status == 0 && $out == "log2plt "[0-9]* ]] || fail "--version: $out"
[[ -e x.plt || -e day1.plt ]] && fail "a usage error wrote a file"

# Success is silent, and the output name follows from the input name.
run --date 2009-08-12 day1.log
expect 0 "" "conversion"
[[ -z $out ]] || fail "conversion printed '$out'"
cmp -s day1.plt "$cases/moscow_crlf.plt" || fail "day1.plt is not the golden track"

# An existing output is kept without -f when no one can be asked, and replaced with -f.
echo old >day1.plt
run --date 2009-08-12 day1.log
expect 1 'log2plt: day1.log: File "*day1.plt" already exists; -f replaces it.' "existing output"
[[ $(cat day1.plt) == old ]] || fail "the existing output was touched"
run -f --date 2009-08-12 day1.log
expect 0 "" "-f"
cmp -s day1.plt "$cases/moscow_crlf.plt" || fail "-f did not replace the output"

# A failing input is reported by the name given, and the next one still converted; the message
# gets its full stop.
rm -f day1.plt
run --date 2009-08-12 missing.log day1.log
expect 1 'log2plt: missing.log: Cannot open file "*missing.log". ?*[^.].' "missing input"
[[ -e day1.plt ]] || fail "the input after a failing one was not converted"
run missing.log
expect 1 "log2plt: missing.log: no such file (Invalid argument to date encode.)" "missing input, day from its date"
printf '$GPLOG,000001,10:00:00,A\r\n1 2\r\n$GPLOG,000002,11:00:00,A\r\n' >three.log
run -f three.log
expect 1 "log2plt: three.log: the log holds one point only (Floating point division by zero.)" "three lines"
[[ -e three.plt ]] && fail "a failed conversion wrote its output"
# In a batch each message names its own input, exactly as given (a path too).
mkdir -p logs
cp three.log logs/
run -f --date 2009-08-12 logs/three.log day1.log ./missing.log
expect 1 $'log2plt: logs/three.log: the log holds one point only (Floating point division by zero.)\nlog2plt: ./missing.log: Cannot open file "*missing.log". ?*[^.].' "a batch"
run -f -o nowhere/x.plt day1.log
expect 1 'log2plt: day1.log: the output'"'"'s folder is missing (Cannot create file "*x.plt". ?*[^.].)' "output folder missing"

# The day comes from the input's last-write time, in local time.
touch -d '2009-08-12 12:00:00' day1.log
run -f -o dated.plt day1.log
expect 0 "" "day from the file date"
grep -q '^55.7512000,37.6184000,1,500,40037.3333333,12-Aug-09,08:00:00' dated.plt ||
  fail "the file date did not give 12-Aug-09: $(sed -n 7p dated.plt)"

# Output name equal to the input name: the log is replaced by its track.
cp day1.log same.log
run -f --date 2009-08-12 -o same.log same.log
expect 0 "" "output over input"
cmp -s same.log "$cases/moscow_crlf.plt" || fail "the log was not replaced by its track"

# -o - writes the track to standard output, and asks nothing.
echo old >-
"${emulator[@]}" "$program" --date 2009-08-12 -o - day1.log </dev/null >stdout.plt 2>err.txt
cmp -s stdout.plt "$cases/moscow_crlf.plt" || fail "-o - did not write the track: $(<err.txt)"
[[ $(cat ./-) == old ]] || fail "-o - wrote a file named -"

# A Russian user: Cyrillic month names, saved in code page 1251.
LANG=ru_RU.UTF-8 run -f --date 2009-08-12 -o ru.plt day1.log
expect 0 "" "Russian locale"
month=$(sed -n 7p ru.plt | cut -d, -f6 | od -An -tx1 | tr -d ' \n')
[[ $month == 31322de0e2e3* ]] || fail "the Russian month is not авг in code page 1251: $month"
grep -q $'\xD0' ru.plt && fail "the Russian track holds UTF-8"

if ! $windows; then
  # The code page chosen by configuration: Cyrillic has no place in 1252.
  LANG=ru_RU.UTF-8 LOG2PLT_CODEPAGE=1252 run -f --date 2009-08-12 -o ru1252.plt day1.log
  [[ $(sed -n 7p ru1252.plt | cut -d, -f6) == 12-???* ]] || fail "LOG2PLT_CODEPAGE=1252 not used"

  # A disk that fills up: the old file stays whole and no temporary file is left.
  echo old >full.plt
  for i in $(seq 200); do sed -n 2p day1.log; done >body.txt
  { sed -n 1p day1.log; cat body.txt; sed -n 9p day1.log; } >big.log
  out=$(ulimit -f 4; "$program" -f --date 2009-08-12 -o full.plt big.log 2>&1)
  # (The file size limit stands in for the full disk: the write fails with its own cause.)
  [[ $out == "log2plt: big.log: File too large (Stream write error.)" ]] ||
    fail "full disk: '$out'"
  [[ $(cat full.plt) == old ]] || fail "a failed save changed the old file"
  ls -A | grep -q '^\.full' && fail "a failed save left its temporary file"

  golden=$cases/moscow_crlf.plt
  shim=${LOG2PLT_FAULT_SHIM:-}
  [[ -f $shim ]] || fail "no fault shim in LOG2PLT_FAULT_SHIM"
  # Runs log2plt with faults of tests/platform/fault_shim.cpp: run_faulty VARIABLE=VALUE... -- ARGS
  run_faulty() {
    local faults=()
    while [[ $1 != -- ]]; do faults+=("$1") && shift; done
    shift
    out=$(env LD_PRELOAD="$shim" "${faults[@]}" "$program" "$@" </dev/null 2>err.txt)
    status=$?
    err=$(<err.txt)
  }
  # A hang fails the test (status 124) instead of stopping it.
  run_guarded() {
    out=$(timeout 10 "$program" "$@" </dev/null 2>err.txt)
    status=$?
    err=$(<err.txt)
  }

  # A disk that fails while the log is read: no track, and the reason.
  run_faulty LOG2PLT_FAULT_READ=error:100 -- -f --date 2009-08-12 -o read.plt day1.log
  expect 1 'log2plt: *Cannot read file "*/day1.log". Input/output error.' "failing read"
  [[ -e read.plt ]] && fail "a failing read wrote a track"

  # A private track whose mode cannot be given to its replacement is kept as it was: the
  # replacement would be open to more users than the file it replaces.
  printf 'old' >private.plt
  chmod 600 private.plt
  run_faulty LOG2PLT_FAULT_FCHMOD=1 -- -f --date 2009-08-12 -o private.plt day1.log
  expect 1 'log2plt: *Cannot create file "*/private.plt". Operation not permitted.' "refused mode"
  [[ $(cat private.plt) == old && $(stat -c %a private.plt) == 600 ]] ||
    fail "a replacement without the old mode took the file's place"
  ls -A | grep -q '^\.log2plt' && fail "a refused mode left a temporary file"

  # A name that is not UTF-8 reaches the system as it was typed; messages show U+FFFD for it.
  latin=$'caf\xE9'
  cp day1.log "$latin.log"
  run --date 2009-08-12 "$latin.log"
  expect 0 "" "a name that is not UTF-8"
  cmp -s "$latin.plt" "$golden" || fail "no track named after $latin.log"
  run --date 2009-08-12 "${latin}2.log"
  expect 1 $'log2plt: *Cannot open file "*/caf\uFFFD2.log". No such file or directory.' \
    "a missing name that is not UTF-8"

  # Standard output, devices and FIFOs take the track as it is, and nothing waits on a FIFO.
  "$program" -f --date 2009-08-12 -o /dev/stdout day1.log 2>err.txt | cat >piped.plt
  cmp -s piped.plt "$golden" || fail "-o /dev/stdout into a pipe: $(<err.txt)"
  "$program" -f --date 2009-08-12 -o /dev/stdout day1.log >redirected.plt 2>err.txt
  cmp -s redirected.plt "$golden" || fail "-o /dev/stdout into a file: $(<err.txt)"
  [[ -L /dev/stdout ]] || fail "/dev/stdout is no longer a link"
  run -f --date 2009-08-12 -o /dev/null day1.log
  expect 0 "" "-o /dev/null"
  [[ -c /dev/null ]] || fail "/dev/null is no longer a device"
  mkfifo in.fifo out.fifo
  run_guarded in.fifo
  expect 1 "log2plt: *is not a file (Invalid argument to date encode.)" "a FIFO input, dated"
  sleep 10 >in.fifo &
  writer=$!
  run_guarded --date 2009-08-12 in.fifo
  expect 1 'log2plt: *is not a file (Cannot open file "*/in.fifo". Invalid argument.)' "a FIFO input with a writer"
  kill $writer 2>/dev/null
  run_guarded -f --date 2009-08-12 -o out.fifo day1.log
  expect 1 'log2plt: *Cannot create file "*/out.fifo". No such device or address.' \
    "a FIFO output without a reader"
  cat out.fifo >fifo.plt &
  reader=$!
  for ((i = 0; i < 100; i++)); do  # until the reader has opened its end
    run_guarded -f --date 2009-08-12 -o out.fifo day1.log
    [[ $status == 1 ]] || break
    sleep 0.05
  done
  expect 0 "" "a FIFO output with a reader"
  kill $reader 2>/dev/null
  wait $reader
  cmp -s fifo.plt "$golden" || fail "the FIFO's reader did not get the track"
  ls -A | grep -q '^\.' && fail "a special file left a temporary file: $(ls -A | grep '^\.')"

  # A run stopped by a signal while it saves (held at its flush) leaves the old track and no
  # temporary file, and ends with the signal's status; with and without unnamed temporary files.
  # (The shell's own notes about the stopped jobs go to /dev/null.)
  for stop in "INT 130 NO_TMPFILE" "TERM 143 NO_TMPFILE" "HUP 129 NO_TMPFILE" "TERM 143 TMPFILE"; do
    read -r signal want files <<<"$stop"
    echo old >kept.plt
    rm -f stopped
    set -m  # a job of its own, or the shell would have it ignore SIGINT
    env LD_PRELOAD="$shim" LOG2PLT_FAULT_STOP_AT_SYNC=stopped "LOG2PLT_FAULT_$files=1" \
      "$program" -f --date 2009-08-12 -o kept.plt day1.log 2>/dev/null &
    pid=$!
    set +m
    for ((i = 0; i < 500; i++)); do [[ -e stopped ]] && break || sleep 0.02; done
    kill -s "$signal" $pid
    for ((i = 0; i < 250; i++)); do kill -0 $pid 2>/dev/null && sleep 0.02 || break; done
    kill -9 $pid 2>/dev/null
    wait $pid 2>/dev/null
    status=$?
    [[ $status == "$want" ]] || fail "SIG$signal ($files): status $status, not $want"
    [[ $(cat kept.plt) == old ]] || fail "SIG$signal ($files): the old track was changed"
    ls -A | grep -q '^\.' && fail "SIG$signal ($files): left $(ls -A | grep '^\.')"
  done 2>/dev/null

  # A new track gets the mode of any new file, 0666 less the umask the program started with, with
  # and without unnamed temporary files.
  for mask in 022 027 077 002; do
    for files in TMPFILE NO_TMPFILE; do
      rm -f fresh.plt
      (umask "$mask" && env LD_PRELOAD="$shim" "LOG2PLT_FAULT_$files=1" \
        "$program" --date 2009-08-12 -o fresh.plt day1.log)
      want=$(printf '%o' $((0666 & ~0$mask)))
      got=$(stat -c %a fresh.plt)
      [[ $got == "$want" ]] || fail "a new track under umask $mask ($files): mode $got, not $want"
    done
  done

  # A writable file in a folder that may not be written is refused and stays as it was. A file
  # that the writer may not give away becomes the writer's, with its mode kept.
  mkdir locked shared
  echo old >locked/day1.plt
  echo old >shared/day1.plt
  chmod 666 locked/day1.plt shared/day1.plt
  as_other=()
  if [[ $(id -u) == 0 ]] && command -v setpriv >/dev/null; then
    chmod 755 "$work"
    chmod 777 shared
    as_other=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  else
    chmod 555 locked
  fi
  "${as_other[@]}" "$program" -f --date 2009-08-12 -o locked/day1.plt day1.log 2>err.txt
  status=$?
  err=$(<err.txt)
  expect 1 'log2plt: *Cannot create file "*/locked/day1.plt". Permission denied.' \
    "a file in a folder that may not be written"
  [[ $(cat locked/day1.plt) == old ]] || fail "a refused save changed the file"
  if ((${#as_other[@]})); then
    "${as_other[@]}" "$program" -f --date 2009-08-12 -o shared/day1.plt day1.log
    [[ $(stat -c '%u %a' shared/day1.plt) == "65534 666" ]] ||
      fail "a file the writer may not give away: $(stat -c '%u %a' shared/day1.plt)"
    cmp -s shared/day1.plt "$golden" || fail "a file the writer may not give away was not saved"
  fi
  chmod 755 locked

  # On a terminal the program asks, and goes on only for y.
  if command -v script >/dev/null; then
    echo old >asked.plt
    printf 'n\n' | script -qec "$program --date 2009-08-12 -o asked.plt day1.log" /dev/null >asked.txt
    [[ $(cat asked.plt) == old ]] || fail "the answer n replaced the file"
    grep -q 'Перезапишем? \[y/N\]' asked.txt || fail "no question on a terminal: $(cat asked.txt)"
    printf 'y\n' | script -qec "$program --date 2009-08-12 -o asked.plt day1.log" /dev/null >/dev/null
    cmp -s asked.plt "$cases/moscow_crlf.plt" || fail "the answer y did not replace the file"
  fi
fi

if $windows; then
  # Ctrl-C while the track is written: the old track stays, the temporary file goes, and the
  # status is STATUS_CONTROL_C_EXIT (of which Wine passes on the low byte, 58).
  { sed -n 1p day1.log; yes "$(sed -n 2p day1.log)" | head -2000000; sed -n 9p day1.log; } >huge.log
  echo old >kept.plt
  set -m  # a job of its own, or the shell would have it ignore SIGINT
  "${emulator[@]}" "$program" -f --date 2009-08-12 -o kept.plt huge.log 2>/dev/null &
  pid=$!
  set +m
  stopped=false
  for ((i = 0; i < 4000; i++)); do
    if compgen -G '~*.tmp' >/dev/null; then
      kill -INT $pid && stopped=true
      break
    fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.005
  done
  wait $pid
  status=$?
  $stopped || fail "Ctrl-C: the save ended before it could be stopped"
  [[ $status == 58 ]] || fail "Ctrl-C: status $status, not 58"
  [[ $(cat kept.plt) == old ]] || fail "Ctrl-C: the old track was changed"
  compgen -G '~*.tmp' >/dev/null && fail "Ctrl-C: the temporary file was left"

  # A kill that gives the program no chance to clean up: the system removes the temporary file,
  # which is marked for deletion from its creation until the commit.
  "${emulator[@]}" "$program" -f --date 2009-08-12 -o killed.plt huge.log 2>/dev/null &
  pid=$!
  killed=false
  for ((i = 0; i < 4000; i++)); do
    if compgen -G '~*.tmp' >/dev/null; then
      pkill -KILL -f 'killed[.]plt' && killed=true
      break
    fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.005
  done
  wait $pid 2>/dev/null
  $killed || fail "kill: the save ended before it could be killed"
  for ((i = 0; i < 200; i++)); do compgen -G '~*.tmp' >/dev/null || break; sleep 0.05; done
  compgen -G '~*.tmp' >/dev/null && fail "kill: the temporary file was left"
  [[ -e killed.plt ]] && fail "kill: a track was written"
fi

# gpsbabel reads our track back with the log's coordinates and the spread times.
if command -v gpsbabel >/dev/null; then
  run -f --date 2009-08-12 -o babel.plt day1.log
  gpsbabel -t -i ozi -f babel.plt -o unicsv -F - >babel.csv 2>babel.err || fail "gpsbabel: $(cat babel.err)"
  awk -F, -v log_file=day1.log '
    BEGIN {
      while ((getline line < log_file) > 0) {
        sub(/\r$/, "", line)
        if (line ~ /^[0-9-]/) { split(line, words, " "); lat[++n] = words[1]; lon[n] = words[2] }
      }
    }
    NR == 1 { next }
    {
      i = NR - 1
      if ($2 + 0 != lat[i] + 0 || $3 + 0 != lon[i] + 0) { print "point " i ": " $2 "," $3; bad = 1 }
      if ($5 != "2009/08/12") { print "point " i " dated " $5; bad = 1 }
      split($6, hms, ":")
      seconds = hms[1] * 3600 + hms[2] * 60 + hms[3]
      want = 8 * 3600 + (i - 1) * 600
      if (seconds - want > 1 || want - seconds > 1) { print "point " i " at " $6; bad = 1 }
    }
    END { if (NR - 1 != n) { print NR - 1 " points, not " n; bad = 1 }; exit bad }
  ' babel.csv || fail "gpsbabel read other points back"
else
  fail "gpsbabel is not installed"
fi

echo "log2plt end to end: $failures failed"
exit $((failures > 0))
