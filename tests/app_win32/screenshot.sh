#!/bin/sh
# Starts the program under Wine on the current X display, photographs the screen for people to
# look at, and ends the program it started.
set -eu
program=$1
picture=$2
if [ -z "${DISPLAY:-}" ]; then
  echo "no X display: no screenshot"
  exit 77
fi
mkdir -p "$(dirname "$picture")"
wine "$program" &
pid=$!
sleep 5
import -window root "$picture"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
test -s "$picture"
