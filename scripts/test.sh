#!/usr/bin/env bash
# Sets up, builds (AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test, then
# runs each fuzz target briefly on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
# The window front end's tests paint without a display.
QT_QPA_PLATFORM=offscreen ctest --preset asan -j"$(nproc)"
bash scripts/fuzz.sh --seconds "${LOKAVO_FUZZ_SECONDS:-10}" --build build/asan
