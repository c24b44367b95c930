#!/usr/bin/env bash
# The manual pages and the bash completion, checked against the program they describe:
#   manual_test.sh LOG2PLT MAN_DIR COMPLETION
# - the options of `LOG2PLT --help` and the .TP entries of OPTIONS in MAN_DIR/log2plt.1 are the
#   same, both ways;
# - `man --warnings` says nothing about MAN_DIR/log2plt.1 and MAN_DIR/log2plt-gui.1;
# - the completion COMPLETION offers every option of --help, and completes names and values
#   where it should.
# Exits 77 (skipped) when only the warnings could not be checked because man is missing.
set -uo pipefail
if (($# != 3)); then
  echo "usage: $0 LOG2PLT MAN_DIR COMPLETION" >&2
  exit 2
fi
program=$1
man_dir=$2
completion=$3

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# The options named in a text, one a line, sorted: words that start with - or -- after the start,
# a blank, a comma or a quote; "YYYY-MM-DD" names none.
options_in() {
  grep -oE '(^|[[:space:],"])--?[A-Za-z][A-Za-z-]*' | sed -E 's/^[[:space:],"]+//' | sort -u
}

# --- The options of --help and of the manual page.

help_text=$("$program" --help) || fail "$program --help exits with status $?"
# The option column: lines that start with blanks and a -, up to the gap before the description.
help_options=$(sed -nE 's/^ +(-.*)$/\1/p' <<<"$help_text" | sed -E 's/ {2,}.*//' | options_in)
[[ -n $help_options ]] || fail "no options found in the output of $program --help"

page=$man_dir/log2plt.1
gui_page=$man_dir/log2plt-gui.1
for file in "$page" "$gui_page"; do
  [[ -f $file ]] || fail "$file does not exist"
done

# The tag lines of the .TP entries in OPTIONS, with roff's escaped hyphens and font changes undone.
man_options=$(
  awk '/^\.SH/ { gsub(/"/, ""); in_options = ($2 == "OPTIONS"); tag = 0; next }
       in_options && tag { print; tag = 0 }
       in_options && /^\.TP/ { tag = 1 }' "$page" 2>/dev/null |
    sed -E -e 's/\\-/-/g' -e 's/\\f(\[[^]]*\]|\(..|.)//g' | options_in
)
[[ -n $man_options ]] || fail "no .TP entries with options found in OPTIONS of $page"

while IFS= read -r option; do
  [[ -n $option ]] && fail "$option is in '$program --help' but has no .TP entry in OPTIONS of $page"
done < <(comm -23 <(echo "$help_options") <(echo "$man_options"))
while IFS= read -r option; do
  [[ -n $option ]] && fail "$option has a .TP entry in OPTIONS of $page but is not in '$program --help'"
done < <(comm -13 <(echo "$help_options") <(echo "$man_options"))

# --- The completion.

# Prints what the completion offers for the words given, the last being the word under the
# cursor, one a line; runs in a fresh bash in the current folder.
offered() {
  bash -c '
    completion=$1
    shift
    source "$completion" || exit 1
    binding=$(complete -p log2plt 2>/dev/null) || { echo "no completion for log2plt" >&2; exit 1; }
    function=${binding##*-F }
    function=${function%% *}
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    "$function" log2plt "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    ((${#COMPREPLY[@]})) && printf "%s\n" "${COMPREPLY[@]}"
    exit 0' bash "$completion" "$@"
}

if [[ ! -f $completion ]]; then
  fail "$completion does not exist"
else
  completion=$(cd "$(dirname "$completion")" && pwd)/$(basename "$completion")
  if ! offered log2plt - >/dev/null; then
    fail "$completion does not define a completion for log2plt"
  else
    for prefix in - --; do
      options_offered=$(offered log2plt "$prefix")
      while IFS= read -r option; do
        [[ $option == "$prefix"* ]] || continue
        grep -qxF -- "$option" <<<"$options_offered" ||
          fail "the completion of '$prefix' does not offer $option (offers: $(echo $options_offered))"
      done <<<"$help_options"
    done

    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/sub"
    touch "$work/a.log" "$work/B.LOG" "$work/notes.txt"
    # words | what must be offered | what must not be (blank-separated)
    cases=(
      "log2plt ''|a.log B.LOG sub|notes.txt --force"
      "log2plt -f ''|a.log|notes.txt"
      "log2plt -o ''|a.log notes.txt sub|"
      "log2plt --date 2026-01-01 ''|a.log|notes.txt"
      "log2plt --date ''||a.log notes.txt sub --force"
      "log2plt -- -||--force -f"
      "log2plt -o -- -|--force|"
    )
    for entry in "${cases[@]}"; do
      IFS='|' read -r words present absent <<<"$entry"
      eval "set -- $words"
      got=$(cd "$work" && offered "$@")
      for item in $present; do
        grep -qxF -- "$item" <<<"$got" || fail "completing [$words] does not offer $item (offers: $(echo $got))"
      done
      for item in $absent; do
        grep -qxF -- "$item" <<<"$got" && fail "completing [$words] offers $item"
      done
    done
  fi
fi

# --- The warnings of man, which checks the roff of both pages.

skipped=false
if ! command -v man >/dev/null; then
  echo "SKIPPED: man is not installed (apt-get install man-db), so the pages' warnings are not checked"
  skipped=true
else
  for file in "$page" "$gui_page"; do
    [[ -f $file ]] || continue
    warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
    status=$?
    ((status == 0)) || fail "man --warnings -l $file exits with status $status"
    [[ -z $warnings ]] || fail "man --warnings -l $file warns:"$'\n'"$warnings"
  done
fi

if ((failures)); then
  echo "manual_test: the manual pages or the completion disagree with $program"
  exit 1
fi
$skipped && exit 77
echo "The manual pages and the completion agree with $program --help."
