#!/usr/bin/env bash
# log2plt end to end, on Linux or (with the emulator given) under Wine:
#   log2plt_e2e.sh PROGRAM CASES_FOLDER [EMULATOR...]
set -uo pipefail
program=$1
cases=$2
shift 2
emulator=("$@")
windows=false
[[ $program == *.exe ]] && windows=true

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
# German: a 24-hour clock with leading zeros and "Aug" on both systems, like the golden tracks.
export LANG=de_DE.UTF-8 LC_ALL=

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

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
expect 1 "log2plt: missing.log: Invalid argument to date encode." "missing input, day from its date"
printf '$GPLOG,000001,10:00:00,A\r\n1 2\r\n$GPLOG,000002,11:00:00,A\r\n' >three.log
run -f three.log
expect 1 "log2plt: three.log: Floating point division by zero." "three lines"
[[ -e three.plt ]] && fail "a failed conversion wrote its output"
# In a batch each message names its own input, exactly as given (a path too).
mkdir -p logs
cp three.log logs/
run -f --date 2009-08-12 logs/three.log day1.log ./missing.log
expect 1 $'log2plt: logs/three.log: Floating point division by zero.\nlog2plt: ./missing.log: Cannot open file "*missing.log". ?*[^.].' "a batch"
run -f -o nowhere/x.plt day1.log
expect 1 'log2plt: day1.log: Cannot create file "*x.plt". ?*[^.].' "output folder missing"

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
  [[ $out == "log2plt: big.log: Stream write error." ]] || fail "full disk: '$out'"
  [[ $(cat full.plt) == old ]] || fail "a failed save changed the old file"
  ls -A | grep -q '^\.full' && fail "a failed save left its temporary file"

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
