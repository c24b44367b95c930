# The common ground of the command line's end-to-end scripts, sourced once they have taken their
# arguments (`program` set): whether the program is the Windows build, a private working folder
# made current and removed at the end, the German locale, and fail() counting what went wrong.

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
