#!/usr/bin/env bash
# Installs the Debian package on this machine as a user would, uses what it installed, and
# purges it again, whatever fails on the way; nothing of it may be left.
#   deb_install_test.sh PACKAGE.deb CASES
# Runs as root (or with sudo) on a machine without a log2plt package of its own, with an X
# display for the window (xvfb-run).
set -euo pipefail
deb=$(realpath "$1")
cases=$(realpath "$2")
source "$(dirname "$0")/skin_pixel.sh"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo=sudo

if dpkg-query -W -f='${Status}' log2plt 2>/dev/null | grep -q 'install ok installed'; then
  echo "a log2plt package is installed already: this test would remove it; not run" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/log2plt-deb.XXXXXX")
gui_pid=""
cleanup() {
  [[ -n $gui_pid ]] && kill "$gui_pid" 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq log2plt >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The user's own folders stay out of it.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
version=$(dpkg-deb -f "$deb" Version)
[[ $(command -v log2plt) == /usr/bin/log2plt ]] || fail "log2plt is not /usr/bin/log2plt"
[[ $(log2plt --version) == "log2plt $version"$'\n'"MIT License" ]] ||
  fail "log2plt --version says: $(log2plt --version)"
echo "installed: log2plt $version"

# Both programs are hardened as Debian hardens its packages: position independent, stack
# protector, read-only relocations bound at start. Fortification is built in (_FORTIFY_SOURCE)
# but cannot be seen: every C library call either has a size the compiler proves safe or a buffer
# whose size it cannot know, so no checked variant (__read_chk...) is linked. Control-flow
# protection is not asked of Debian's packages on this release.
hardening-check --nofortify --nocfprotection /usr/bin/log2plt /usr/bin/log2plt-gui ||
  fail "the installed programs are not hardened"
echo "hardened: log2plt, log2plt-gui"

# A conversion with the installed program gives the golden track, byte for byte.
cp "$cases/moscow_utf8.log" "$work/day.log"
LANG=de_DE.UTF-8 LC_ALL= log2plt --date 2009-08-12 "$work/day.log" || fail "the conversion failed"
cmp "$work/day.plt" "$cases/moscow_utf8.plt" || fail "the installed log2plt wrote another track"
echo "converted: the golden track"

# The manual, the completion and the desktop entry are where Debian looks for them.
man -w log2plt >/dev/null && man -w log2plt-gui >/dev/null || fail "no manual pages"
[[ -f /usr/share/bash-completion/completions/log2plt ]] || fail "no bash completion"
desktop-file-validate /usr/share/applications/log2plt-gui.desktop || fail "desktop entry"

# The window at its first start (no settings yet) is drawn with BluePlastic, found among the
# installed skins: a pixel near its top left has the skin's form colour.
if [[ -n ${DISPLAY:-} ]]; then
  QT_QPA_PLATFORM=xcb log2plt-gui >/dev/null 2>&1 &
  gui_pid=$!
  for _ in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q '"LOG to PLT' && break
    kill -0 "$gui_pid" 2>/dev/null || fail "log2plt-gui ended at its start"
    sleep 0.1
  done
  sleep 1
  drawn_with_blue_plastic "$(xwininfo -name "LOG to PLT кодер" | awk '/Window id:/ { print $4 }')" ||
    fail "the window is not drawn with the installed BluePlastic skin"
  kill "$gui_pid"
  wait "$gui_pid" 2>/dev/null || true
  gui_pid=""
else
  echo "no X display: the window was not started" >&2
  exit 1
fi

# Purged, nothing of the package is left.
files=$(dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' | grep -v '/$')
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq log2plt >/dev/null
for file in $files; do
  [[ ! -e $file ]] || fail "$file is left after the purge"
done
[[ ! -e /usr/share/log2plt && ! -e /usr/share/doc/log2plt ]] || fail "folders are left"
dpkg-query -W log2plt >/dev/null 2>&1 && fail "the package is still known to dpkg"
echo "purged: nothing left"
