#!/bin/sh
# Starts the Linux desktop program on the current X display with the real xcb platform,
# photographs its window for people to look at, and ends the program it started.
#   screenshot.sh PROGRAM PICTURE.png [SKIN]
set -eu
program=$1
picture=$2
skin=${3:-BluePlastic}
if [ -z "${DISPLAY:-}" ]; then
  echo "no X display: no screenshot"
  exit 77
fi
mkdir -p "$(dirname "$picture")"
# Settings of its own, with a log picked as a user would have it; the user's own stay as they are.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/log2plt"
printf '[Form7]\r\nFilenameEditIn_Text=%s\r\nFilenameEditOut_Text=%s\r\nSkinManager_SkinName=%s\r\n' \
  /home/user/Tracks/2012-06-14.log /home/user/Tracks/2012-06-14.plt "$skin" \
  >"$config/log2plt/Zandor_LOG_to_PLT.ini"
XDG_CONFIG_HOME=$config QT_QPA_PLATFORM=xcb "$program" &
pid=$!
# Until the window is on the screen (its caption is the program's), then a moment to paint.
tries=0
until xwininfo -root -tree 2>/dev/null | grep -q '"LOG to PLT'; do
  tries=$((tries + 1))
  if [ "$tries" -ge 100 ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "the window did not appear" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep 0.1
done
sleep 1
# The screen around the window is black: cut it away.
import -window root png:- | convert png:- -trim +repage "$picture"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
test -s "$picture"
echo "$picture"
