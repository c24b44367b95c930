#!/usr/bin/env bash
# The Windows executables take the system's exploit mitigations: each is loaded at a random
# address anywhere in 64 bits (DYNAMIC_BASE, HIGH_ENTROPY_VA) and runs with its data not
# executable (NX_COMPAT), as the MinGW-w64 linker marks them unless told otherwise.
#   pe_hardening_test.sh EXECUTABLE...
set -euo pipefail
status=0
for program in "$@"; do
  # objdump lists the DllCharacteristics word, then each of its flags on a line of its own.
  flags=$(x86_64-w64-mingw32-objdump -p "$program" |
    awk '/^DllCharacteristics/ { within = 1; next } within && /^\t/ { print $1; next } { within = 0 }')
  for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
    if ! grep -qx "$flag" <<<"$flags"; then
      echo "FAILED: $program is not marked $flag" >&2
      status=1
    fi
  done
done
exit "$status"
