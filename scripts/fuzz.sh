#!/usr/bin/env bash
# Runs every libFuzzer target for a set time on its seed corpus (fuzz/corpus/<name>/).
# Usage: scripts/fuzz.sh [--seconds N] [--build DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
build=build/asan
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    *) echo "usage: $0 [--seconds N] [--build DIR]" >&2; exit 2 ;;
  esac
done

shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets built in $build"
  exit 0
fi
# Every target in fuzz/ runs: one missing from a build that has fuzz targets is an error, not a
# silent gap.
for src in fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  if [ ! -x "$build/fuzz/fuzz_$name" ]; then
    echo "fuzz: target $name is not built in $build" >&2
    exit 1
  fi
done
mkdir -p fuzz/artifacts
for src in fuzz/*.cpp; do
  name=$(basename "$src" .cpp)
  t=$build/fuzz/fuzz_$name
  corpus=fuzz/corpus/$name
  mkdir -p "$corpus"
  work=$(mktemp -d)
  echo "fuzz: $name for ${seconds}s"
  "$t" -max_total_time="$seconds" -artifact_prefix=fuzz/artifacts/ -print_final_stats=0 \
    "$work" "$corpus" 2>&1 | tail -n 3
  rm -rf "$work"
done
