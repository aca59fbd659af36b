#!/usr/bin/env bash
# kestrow-sign's bash completion in this bash: it completes option names and values, and
# offers each command exactly the options that its --help lists.
# Usage: completion_test.sh COMPLETION_SCRIPT KESTROW_SIGN
set -u
# shellcheck source=/dev/null
source "$1"
failed=0
offers() { # WORD...: the completions of the last word, one a line, sorted
  COMP_WORDS=(kestrow-sign "$@")
  COMP_CWORD=$#
  _kestrow_sign
  printf '%s\n' "${COMPREPLY[@]}" | sort
}
expect() { # WHAT GOT WANTED
  [ "$2" = "$3" ] || { echo "FAILED: $1: got '$2', expected '$3'"; failed=$((failed + 1)); }
}
expect "--for" "$(offers --for)" "--format"
expect "a --format value" "$(offers --time 0 --format j)" "json"
expect "the command" "$(offers ve)" "verify"
expect "no option of signing after verify" "$(offers verify --ac)" ""
for command in "" verify; do
  # shellcheck disable=SC2086
  expect "the options of '$command'" "$(offers $command --)" \
    "$("$2" $command --help | sed -n 's/^  \(-h,\)\{0,1\}\(--[a-z-]*\).*/\2/p' | sort)"
done
echo "kestrow-sign completion: $failed failed"
[ "$failed" -eq 0 ]
