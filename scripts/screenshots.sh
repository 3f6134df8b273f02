#!/usr/bin/env bash
# Makes the gallery of the client's screens in docs/screenshots/: builds the window front end
# and the stand-in service, starts the service on a free loopback port with its sample data and
# plays frontends/qt/gallery.lkscript in lokavo-qt without a display, one PNG after each command.
# Fails on a missing picture or a blank screen. Usage:
#   bash scripts/screenshots.sh [SCRIPT [DIR]]     (BUILD_PRESET=asan to use that build)
set -euo pipefail
cd "$(dirname "$0")/.."

script=${1:-frontends/qt/gallery.lkscript}
out=${2:-docs/screenshots}
preset=${BUILD_PRESET:-release}

bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target lokavo-qt lokavo-service

work=$(mktemp -d)
service_pid=""
cleanup() {
  [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"build/$preset/service/lokavo-service" --port 0 --db "$work/service.sqlite" >"$work/port" \
  2>"$work/service.log" &
service_pid=$!
port=""
for _ in $(seq 1 200); do
  port=$(head -n 1 "$work/port" | tr -dc 0-9)
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then echo "the stand-in service did not start" >&2; cat "$work/service.log" >&2; exit 1; fi

rm -f "$out"/[0-9][0-9][0-9]-*.png
mkdir -p "$out"
# A fresh client each time (a first start in 北京), located at 王府井.
QT_QPA_PLATFORM=offscreen LOKAVO_SERVICE_URL="http://127.0.0.1:$port/client" \
  "build/$preset/frontends/qt/lokavo-qt" --data-dir "$work/data" --cache-dir "$work/cache" \
  --log "$work/lokavo.log" --position 39.915,116.404 --strict-pictures \
  --script "$script" --screenshots "$out" >"$work/screens.txt"
echo "gallery: $(ls "$out"/[0-9][0-9][0-9]-*.png | wc -l) pictures in $out"
