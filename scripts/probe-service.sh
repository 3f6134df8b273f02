#!/usr/bin/env bash
# Points a bounded hostile-input probe at the stand-in service (127.0.0.1 only, a fresh database,
# a few thousand requests, four minutes at most) and prints inputs tried, crashes, hangs, wrong
# statuses, data changed, log leaks and peak memory. Exits non-zero when any of them is found.
#   scripts/probe-service.sh [--binary PATH] [--random N] [--seed S] [--skip-bombs]
set -euo pipefail
cd "$(dirname "$0")/.."

binary=""
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --binary) binary="$2"; shift 2 ;;
    --random|--seed) args+=("$1" "$2"); shift 2 ;;
    --skip-bombs) args+=("$1"); shift ;;
    *) echo "usage: $0 [--binary PATH] [--random N] [--seed S] [--skip-bombs]" >&2; exit 2 ;;
  esac
done
if [ -z "$binary" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j2 --target lokavo-service >/dev/null
  binary=build/release/service/lokavo-service
fi
exec python3 scripts/probe-service.py --binary "$binary" "${args[@]}"
