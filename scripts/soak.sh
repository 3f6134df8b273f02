#!/usr/bin/env bash
# The long soak: a front-end session over every tab (the search with paging, sorting and
# filters; a shop with its reviews, review pager, broadcasts and album; the coupon lists; the
# broadcast list with its photos; the user centre's own broadcasts; feedback; background,
# foreground and the automatic login), repeated against the stand-in service (on 127.0.0.1)
# with one injected fault a round (dropped, cut, damaged, not JSON, error status; each path in
# turn) under AddressSanitizer and LeakSanitizer for a set time; fails on a leak, a memory
# error, a damaged stored state or a heap that keeps growing. CI runs the same test for 30
# seconds (at least 8 rounds) through ctest, beside the fault runs of every tab
# (tests/robustness).
#   scripts/soak.sh [--seconds N]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    *) echo "usage: $0 [--seconds N]" >&2; exit 2 ;;
  esac
done

cmake --preset asan >/dev/null
cmake --build --preset asan -j2 --target test_robustness lokavo-service
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
LOKAVO_SOAK_SECONDS="$seconds" build/asan/tests/test_robustness --gtest_filter='Soak.*' \
  --gtest_output=json:build/asan/soak.json
grep -E '"(rounds|heap_growth_bytes)"' build/asan/soak.json | tr -d ' ,'
