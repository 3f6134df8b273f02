#!/usr/bin/env bash
# Loopback load on the stand-in service: requests per second of the keyword search (15-shop
# pages, compressed as the client asks), next to the tiny province index as the reference, each
# for a fixed duration with a fixed number of connections. Traffic goes to 127.0.0.1 only.
#   bench/service-load.sh [--duration SECONDS] [--connections N] [--binary PATH]
set -euo pipefail
cd "$(dirname "$0")/.."

duration=10
connections=16
binary=""
while [ $# -gt 0 ]; do
  case "$1" in
    --duration) duration="$2"; shift 2 ;;
    --connections) connections="$2"; shift 2 ;;
    --binary) binary="$2"; shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
command -v wrk >/dev/null || { echo "wrk is not installed (apt-get install wrk)" >&2; exit 1; }
if [ -z "$binary" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target lokavo-service >/dev/null
  binary=build/release/service/lokavo-service
fi

scratch=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null || true; rm -rf "$scratch"; }
trap cleanup EXIT
"$binary" --port 0 --db "$scratch/bench.sqlite" >"$scratch/port" 2>"$scratch/err" &
pid=$!
port=""
for _ in $(seq 1 300); do
  port=$(head -n 1 "$scratch/port" 2>/dev/null | tr -dc 0-9)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the service did not start:" >&2; cat "$scratch/err" >&2; exit 1; }

# The search pages through a few keywords as a user would.
cat >"$scratch/search.lua" <<'LUA'
local keywords = {"%E8%B7%AF", "%E7%81%AB%E9%94%85", "%E5%BA%97", "tony", "%E5%92%96%E5%95%A1"}
local n = 0
request = function()
  n = n + 1
  local k = keywords[(n % #keywords) + 1]
  local p = math.floor(n / #keywords) % 3
  return wrk.format("GET", "/client/search/0/q?k=" .. k .. "&r=&ci=131&sort=1&p=" .. p ..
    "&n=15&xda_from=iPhone&xda_page=SearchInfo&tn=gz")
end
LUA

run() {  # prints requests per second
  wrk -t2 -c"$connections" -d"${duration}s" "$@" | awk '/Requests\/sec/ {print $2}'
}
base="http://127.0.0.1:$port"
search=$(run -s "$scratch/search.lua" "$base")
reference=$(run "$base/client/index/0/province?tn=gz")
cores=$(nproc)
echo "cores: $cores, connections: $connections, duration: ${duration}s each"
echo "search (15-shop keyword pages, gzip): $search requests/s"
echo "province index (reference):           $reference requests/s"
awk -v s="$search" -v r="$reference" 'BEGIN { printf "search / reference: %.2f\n", s / r }'
