#!/usr/bin/env bash
# The Linux window under a real window manager (openbox on a virtual X screen), driven as a user
# drives it: moved, closed with the window manager's close, started again five times, the last
# time closed while minimized. Each start must put the frame back where it was left, and the
# settings must hold the frame's true size.
#   window_manager_test.sh LOG2PLT_GUI
# Exits 77 (skipped) where the X server, the window manager or the X tools are missing.
set -uo pipefail
program=$1

if [[ ${2:-} != --inside ]]; then
  for tool in xvfb-run openbox xdotool wmctrl xprop xwininfo; do
    if ! command -v "$tool" >/dev/null; then
      echo "skipped: $tool is not installed"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" --inside
fi

work=$(mktemp -d)
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb LANG=C.UTF-8
settings=$XDG_CONFIG_HOME/log2plt/Zandor_LOG_to_PLT.ini
failed=0

# The frame's left, top, width and height of window $1: the client's place on the screen as the X
# server tells it (xwininfo; xdotool and wmctrl count the frame offset twice), widened by the
# frame extents that the window manager reports.
frame_of() {
  local info x y w h left right top bottom
  info=$(xwininfo -id "$1")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
  echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

start() {
  "$program" >/dev/null 2>&1 &
  gui=$!
  window=$(xdotool search --sync --onlyvisible --name "LOG to PLT" | head -1)
  # The window manager has framed and placed it once its extents are known.
  for _ in $(seq 50); do
    xprop -id "$window" _NET_FRAME_EXTENTS | grep -q '=' && break
    sleep 0.1
  done
  sleep 0.5
}

stop() {
  wmctrl -i -c "$window"
  for _ in $(seq 100); do kill -0 "$gui" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$gui" 2>/dev/null; then
    echo "FAIL: the window did not close"
    kill "$gui"
    failed=1
  fi
  wait "$gui" 2>/dev/null
}

# NormPos as the settings must hold it for a frame at left $1, top $2 of $3 x $4.
norm_pos() { echo "NormPos=$1,$2,$(($1 + $3)),$(($2 + $4))"; }

stored_norm_pos() { grep '^NormPos=' "$settings" | tr -d '\r'; }

# A first start without settings: the window manager places the window, and the close stores
# the frame it drew, not the bare client nor a size read before the frame existed.
start
read -r left top width height <<<"$(frame_of "$window")"
echo "first start: frame at $left,$top, $width x $height"
stop
[[ $(stored_norm_pos) == "$(norm_pos "$left" "$top" "$width" "$height")" ]] || {
  echo "FAIL: the settings hold $(stored_norm_pos), not $(norm_pos "$left" "$top" "$width" "$height")"
  failed=1
}

start
# Gravity 1: the frame's top left corner goes to 200,300, as when the title bar is dragged there.
wmctrl -i -r "$window" -e 1,200,300,-1,-1
sleep 0.5
read -r left top width height <<<"$(frame_of "$window")"
echo "moved: frame at $left,$top, $width x $height"
[[ $left == 200 && $top == 300 ]] || { echo "FAIL: the move put the frame at $left,$top"; failed=1; }
stop
expected=$(norm_pos 200 300 "$width" "$height")
[[ $(stored_norm_pos) == "$expected" ]] || {
  echo "FAIL: the settings hold $(stored_norm_pos), not $expected"
  failed=1
}

for run in 1 2 3 4 5; do
  start
  read -r left top w h <<<"$(frame_of "$window")"
  echo "start $run: frame at $left,$top, $w x $h"
  [[ $left == 200 && $top == 300 ]] || { echo "FAIL: start $run put the frame at $left,$top"; failed=1; }
  # A window closed from the taskbar while minimized stores where it was before.
  if [[ $run == 5 ]]; then
    xdotool windowminimize --sync "$window"
    sleep 0.3
  fi
  stop
done
[[ $(stored_norm_pos) == "$expected" ]] || {
  echo "FAIL: after the starts the settings hold $(stored_norm_pos)"
  failed=1
}
exit $failed
