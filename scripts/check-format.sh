#!/usr/bin/env bash
# Usage: check-format.sh [--fix]
# Checks that every C++, Python and shell file of the project is laid out by
# the house's formatters (clang-format, black, shfmt) and that the shell
# scripts pass shellcheck. Lists what fails and the command that mends it.
# With --fix, formats the files in place instead (shellcheck findings are
# left to a person).
set -euo pipefail
cd "$(dirname "$0")/.."

# Tracked files and new ones git does not ignore, or every file outside a checkout.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached --others --exclude-standard | sort -u)
else
    mapfile -t files < <(find . -path ./build -prune -o -type f -print | sed 's|^\./||' | sort)
fi
cpp=() python=() shell=()
for file in "${files[@]}"; do
    [ -f "$file" ] || continue
    case $file in
    *.cpp | *.h) cpp+=("$file") ;;
    *.py) python+=("$file") ;;
    *.sh | .ci/run) shell+=("$file") ;;
    esac
done

if [ "${1:-}" = --fix ]; then
    clang-format -i "${cpp[@]}"
    black -q "${python[@]}"
    shfmt -w "${shell[@]}"
    exit 0
fi

unformatted=()
for file in "${cpp[@]}"; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
for file in "${python[@]}"; do
    black -q --check "$file" 2>/dev/null || unformatted+=("$file")
done
for file in "${shell[@]}"; do
    shfmt -d "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
status=0
if [ ${#unformatted[@]} -gt 0 ]; then
    printf 'Not formatted:\n'
    printf '  %s\n' "${unformatted[@]}"
    printf 'Mend them with: scripts/check-format.sh --fix\n'
    status=1
fi
if ! findings=$(shellcheck "${shell[@]}" 2>&1); then
    printf 'shellcheck finds:\n%s\n' "$findings"
    status=1
fi
[ $status -eq 0 ] && echo "ok: ${#cpp[@]} C++, ${#python[@]} Python and ${#shell[@]} shell files formatted"
exit $status
