#!/usr/bin/env bash
# Fails when a C++ file of the tree is not clang-formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build')
bad=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then echo "not formatted: $f"; bad=1; fi
done
[ $bad -eq 0 ] && echo "format: ${#files[@]} files clean"
exit $bad
