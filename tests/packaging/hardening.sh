#!/usr/bin/env bash
# The optimised build carries Debian's usual hardening: hardening-check finds
# a position-independent executable, the stack protector, _FORTIFY_SOURCE,
# read-only relocations and immediate binding.
# Usage: hardening.sh BINARY SANITIZED CONFIG
set -u
binary=$1 sanitized=$2 config=${3:-}
here=$(dirname "$0")
. "$here/common.sh"

[ "$sanitized" = 1 ] && skip "sanitizer build; hardening is checked in the normal build"
case "$config" in
    Release | RelWithDebInfo | MinSizeRel) ;;
    *) skip "${config:-untyped} build is not optimised, so it is not hardened" ;;
esac
need hardening-check

report=$(hardening-check "$binary" 2>&1)
echo "$report"
result() { printf '%s\n' "$report" | sed -n "s/^ *$1: //p"; }
for feature in "Position Independent Executable" "Stack protected" "Read-only relocations" "Immediate binding"; do
    value=$(result "$feature")
    [ "${value%%,*}" = yes ] && ok "$feature" || fail "$feature: $value"
done
# "unknown" means the program calls no libc function that has a checked
# variant, so there is nothing for _FORTIFY_SOURCE to protect.
value=$(result "Fortify Source functions")
case "$value" in
    yes*) ok "Fortify Source functions: $value" ;;
    "unknown, no protectable libc functions used") ok "Fortify Source functions: $value" ;;
    *) fail "Fortify Source functions: $value" ;;
esac

finish
