#!/usr/bin/env bash
# Fails, naming the files, when any C++ file of the project is not clang-formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
[ ${#files[@]} -eq 0 ] && exit 0
bad=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -ne 0 ]; then
    echo "These files are not formatted (run: clang-format -i FILE):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
