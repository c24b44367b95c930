#!/usr/bin/env bash
# Unzips the Windows package into a fresh folder (with a space in its name, as "Program Files"
# has) and runs it there under Wine as a user would: the command line converts a log to the
# golden track, and the window starts drawn with BluePlastic from the zip's own skins and keeps
# its settings beside the program when closed.
#   zip_test.sh PACKAGE.zip CASES
# Needs WINEPREFIX made and an X display (xvfb-run).
set -euo pipefail
zip=$(realpath "$1")
cases=$(realpath "$2")
source "$(dirname "$0")/skin_pixel.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/log2plt-zip.XXXXXX")
gui_pid=""
cleanup() {
  [[ -n $gui_pid ]] && kill "$gui_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

unzip -q "$zip" -d "$work/My Programs"
folder=$(echo "$work/My Programs"/log2plt-*-windows-x64)
for file in log2plt.exe log2plt-gui.exe README.txt LICENSE.txt Skins/BluePlastic/skin.ini \
  Skins/Graphite/skin.ini; do
  [[ -f $folder/$file ]] || fail "$file is not in the zip"
done
grep -q $'\r$' "$folder/README.txt" || fail "README.txt has no CR LF line ends"
"$(dirname "$0")/pe_hardening_test.sh" "$folder/log2plt.exe" "$folder/log2plt-gui.exe" ||
  fail "the zip's programs lack the system's exploit mitigations"

version=$(basename "$folder" | sed 's/^log2plt-\(.*\)-windows-x64$/\1/')
said=$(wine "$folder/log2plt.exe" --version 2>/dev/null | tr -d '\r')
[[ $said == "log2plt $version"$'\n'"MIT License" ]] || fail "log2plt.exe --version says: $said"
echo "log2plt.exe --version: log2plt $version"

cp "$cases/moscow_utf8.log" "$work/day.log"
(cd "$work" && LANG=de_DE.UTF-8 LC_ALL= wine "$folder/log2plt.exe" --date 2009-08-12 day.log) ||
  fail "log2plt.exe failed"
cmp "$work/day.plt" "$cases/moscow_utf8.plt" || fail "log2plt.exe wrote another track"
echo "log2plt.exe converted: the golden track"

wine "$folder/log2plt-gui.exe" >/dev/null 2>&1 &
gui_pid=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --name "LOG to PLT" 2>/dev/null | head -n 1) && [[ -n $window ]] && break
  kill -0 "$gui_pid" 2>/dev/null || fail "log2plt-gui.exe ended at its start"
  sleep 0.1
done
[[ -n $window ]] || fail "the window did not appear"
sleep 2
drawn_with_blue_plastic "$window" ||
  fail "the window is not drawn with the zip's BluePlastic skin"

# Closed as a user closes it, the window keeps its settings beside the program: portable.
xdotool windowfocus --sync "$window" key alt+F4 2>/dev/null || true
for _ in $(seq 100); do
  kill -0 "$gui_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$gui_pid" 2>/dev/null && fail "the window did not close on Alt+F4"
gui_pid=""
grep -q 'SkinManager_SkinName=BluePlastic' "$folder/Zandor_LOG_to_PLT.ini" ||
  fail "no settings file beside the program"
echo "settings kept beside the program"
