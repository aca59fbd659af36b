#!/usr/bin/env bash
# kestrow-sign's bash completion in this bash: it completes option names and values, and
# offers each command exactly the options that its --help lists.
# Usage: completion_test.sh COMPLETION_SCRIPT KESTROW_SIGN
set -u
# shellcheck source=/dev/null
source "$1"
failed=0
expect() { # WANTED WORD...: the last word completes to WANTED, one a line, sorted
  local wanted=$1 got
  shift
  COMP_WORDS=(kestrow-sign "$@")
  COMP_CWORD=$#
  _kestrow_sign
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
  [ "$got" = "$wanted" ] || { echo "FAILED: $*: got '$got', expected '$wanted'"; failed=$((failed + 1)); }
}
expect --format --for
expect json --time 0 --format j
expect verify ve
for command in "" verify; do
  # shellcheck disable=SC2086
  expect "$("$2" $command --help | sed -n 's/^  \(-h,\)\{0,1\}\(--[a-z-]*\).*/\2/p' | sort)" $command --
done
echo "kestrow-sign completion: $failed failed"
[ "$failed" -eq 0 ]
