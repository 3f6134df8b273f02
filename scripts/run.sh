#!/usr/bin/env bash
# Sets up and builds the release configuration, starts the stand-in service on a free loopback
# port with its embedded sample data (unless LOKAVO_SERVICE_URL names another service), and runs
# the client against it: the window (lokavo-qt) when a display is available, else the
# command-line client. --window or --text forces one. Extra arguments go to the client; those
# after "--" go to the stand-in service, for example a fixed verification code:
#   bash scripts/run.sh -- --verify-code 1234
set -euo pipefail
cd "$(dirname "$0")/.."

client_args=()
service_args=()
front=""
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then
    shift
    service_args=("$@")
    break
  fi
  case "$1" in
    --window) front=window ;;
    --text) front=text ;;
    *) client_args+=("$1") ;;
  esac
  shift
done
if [ -z "$front" ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then front=window; else front=text; fi
fi

bash scripts/install-deps.sh
cmake --preset release >/dev/null
# Only the two programs: the tests and benchmarks are scripts/test.sh's business.
if [ "$front" = window ]; then
  cmake --build --preset release --target lokavo-qt lokavo-service
else
  cmake --build --preset release --target lokavo lokavo-service
fi

data="${LOKAVO_DATA_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/lokavo}"
mkdir -p "$data"
service_pid=""
cleanup() { [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null || true; }
trap cleanup EXIT

service=build/release/service/lokavo-service
if [ -z "${LOKAVO_SERVICE_URL:-}" ] && [ -x "$service" ]; then
  portfile=$(mktemp)
  "$service" --port 0 --db "$data/service.sqlite" "${service_args[@]}" >"$portfile" \
    2>"$data/service.log" &
  service_pid=$!
  for _ in $(seq 1 100); do
    port=$(head -n 1 "$portfile" | tr -dc 0-9)
    [ -n "$port" ] && break
    sleep 0.1
  done
  rm -f "$portfile"
  if [ -z "${port:-}" ]; then echo "the stand-in service did not start; see $data/service.log" >&2; exit 1; fi
  export LOKAVO_SERVICE_URL="http://127.0.0.1:$port/client"
  echo "stand-in service on $LOKAVO_SERVICE_URL"
fi

client=build/release/frontends/cli/lokavo
[ "$front" = window ] && client=build/release/frontends/qt/lokavo-qt
script_args=()
if [ "$front" = text ] && [ ! -t 0 ] && [ -f frontends/cli/demo.lkscript ]; then
  script_args=(--script frontends/cli/demo.lkscript)
fi
# Positioning delivers a spot in 北京 (王府井) unless the arguments name another position.
position_args=(--position 39.915,116.404)
for arg in "${client_args[@]}"; do
  case "$arg" in --position | --position=*) position_args=() ;; esac
done
# The debug lines (request URLs, decoding errors) go to a file beside the data.
"$client" --data-dir "$data" --log "$data/lokavo.log" "${position_args[@]}" "${script_args[@]}" \
  "${client_args[@]}"
