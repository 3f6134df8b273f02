#!/usr/bin/env bash
# Builds the release preset and prints every performance figure beside its reference, measured in
# the same run, with the ratio (ours / reference; below 1 means ours is faster or smaller).
# Traffic goes to stand-in services on 127.0.0.1 only.
#   scripts/bench.sh [--load-seconds N] [--connections N] [--raw FILE]
set -euo pipefail
cd "$(dirname "$0")/.."

load_seconds=5
connections=8
raw=""
while [ $# -gt 0 ]; do
  case "$1" in
    --load-seconds) load_seconds="$2"; shift 2 ;;
    --connections) connections="$2"; shift 2 ;;
    --raw) raw="$2"; shift 2 ;;
    *) echo "usage: $0 [--load-seconds N] [--connections N] [--raw FILE]" >&2; exit 2 ;;
  esac
done

cmake --preset release >/dev/null
cmake --build --preset release -j2 --target lokavo_bench lokavo lokavo-qt lokavo-service >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
filter='BM_SearchPageToShopInfo|BM_ShopInformationToDetailRecord|BM_CachedGet$|BM_CacheLookupAndCopyReference'
filter+='|BM_PictureCache(Memory|Disk)Hit|BM_Picture(Memory|Disk)HitReference'
filter+='|BM_StartupToFirstTab|BM_ResultListMemory|BM_SessionConnections'
filter+='|BM_PaintResultsScreen|BM_WindowStartupToFirstFrame|BM_TapRowToShopPainted'
echo "running the benchmarks ($(nproc) cores)..." >&2
build/release/bench/lokavo_bench --benchmark_filter="$filter" --benchmark_format=json \
  --benchmark_out="$scratch/bench.json" --benchmark_out_format=json >/dev/null 2>"$scratch/bench.err" ||
  { cat "$scratch/bench.err" >&2; exit 1; }
[ -n "$raw" ] && cp "$scratch/bench.json" "$raw"

echo "loading the service for ${load_seconds}s per endpoint..." >&2
bash bench/service-load.sh --duration "$load_seconds" --connections "$connections" \
  --binary build/release/service/lokavo-service >"$scratch/load.txt" ||
  echo "service load: not measured (see above)" >"$scratch/load.txt"

python3 - "$scratch/bench.json" "$scratch/load.txt" <<'PY'
import json, re, sys

runs = {b["name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
load = open(sys.argv[2]).read()

def get(name, key=None):
    b = runs.get(name)
    if b is None or b.get("error_occurred"):
        return None
    if key is None:  # CPU time per iteration in nanoseconds
        return b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return b.get(key)

rows = []
def row(figure, ours, unit, reference, ref_value):
    ratio = ours / ref_value if ours is not None and ref_value else None
    rows.append((figure, ours, unit, reference, ref_value, ratio))

# The search page arrives compressed, the shop information plain (as the service sends them).
for name, what, inflate in (
        ("BM_SearchPageToShopInfo", "search page (15 shops, gzip) -> ShopInfo", "zlib + "),
        ("BM_ShopInformationToDetailRecord", "shop information (plain) -> detail record", "")):
    ours = get(name, "ours_us")
    row(what, ours, "us", inflate + "simdjson (limit)", get(name, "limit_us"))
    row(what, ours, "us", inflate + "nlohmann decoder (peer)", get(name, "peer_us"))
row("response-cache hit (GET, no transfer)", get("BM_CachedGet"), "ns",
    "hash lookup + copy", get("BM_CacheLookupAndCopyReference"))
row("picture cache memory hit", get("BM_PictureCacheMemoryHit"), "ns",
    "hash lookup + handle copy", get("BM_PictureMemoryHitReference"))
row("picture cache disk hit", get("BM_PictureCacheDiskHit"), "ns",
    "read file + decode", get("BM_PictureDiskHitReference"))
row("start-up to first tab, loop idle (median)", get("BM_StartupToFirstTab", "startup_ms"), "ms",
    "process start to usage text", get("BM_StartupToFirstTab", "process_floor_ms"))
screen = get("BM_ResultListMemory", "screen_heap_per_shop")
row("heap per shop, 450 shops in results screen", screen, "B",
    "same shops in a plain list", get("BM_ResultListMemory", "list_heap_per_shop"))
row("heap per shop, 450 shops in results screen", screen, "B",
    "their JSON text", get("BM_ResultListMemory", "json_per_shop"))
row("resident size per shop, results screen", get("BM_ResultListMemory", "screen_rss_per_shop"),
    "B", "-", None)

session = get("BM_SessionConnections", "requests")
conns = f"TCP connections, scripted session ({int(session) if session else '?'} requests)"
row(conns, get("BM_SessionConnections", "connections"), "", "one connection (physical limit)",
    get("BM_SessionConnections", "reference_connections"))
row(conns, get("BM_SessionConnections", "connections"), "",
    "closed after every answer (as before)",
    get("BM_SessionConnectionsDroppedWhenIdle", "connections"))

row("window: paint results screen, 15 rows, scale 2 (median)",
    get("BM_PaintResultsScreen", "ours_ms"), "ms", "same drawing straight with QPainter",
    get("BM_PaintResultsScreen", "reference_ms"))
row("window: start-up to first painted frame (median)",
    get("BM_WindowStartupToFirstFrame", "startup_ms"), "ms", "process start to usage text",
    get("BM_WindowStartupToFirstFrame", "process_floor_ms"))
row("window: tap on a row to shop painted, cached (median)",
    get("BM_TapRowToShopPainted", "ours_ms"), "ms", "painting that screen alone",
    get("BM_TapRowToShopPainted", "reference_ms"))

def rps(label):
    m = re.search(re.escape(label) + r"[^:]*:\s*([0-9.]+)", load)
    return float(m.group(1)) if m else None
row("service: search requests/s (15 shops, gzip)", rps("search"), "1/s",
    "province index requests/s", rps("province index"))

def fmt(v):
    if v is None:
        return "-"
    return f"{v:,.3g}" if v < 100 else f"{v:,.0f}"

header = ("figure", "ours", "unit", "reference", "reference value", "ratio")
table = [header] + [(f, fmt(o), u, r, fmt(rv), "-" if q is None else f"{q:.2f}")
                    for f, o, u, r, rv, q in rows]
widths = [max(len(t[i]) for t in table) for i in range(len(header))]
cores = get("BM_StartupToFirstTab", "cores")
print(f"cores: {int(cores) if cores else '?'}")
for i, t in enumerate(table):
    print("  ".join(c.ljust(widths[j]) for j, c in enumerate(t)).rstrip())
    if i == 0:
        print("  ".join("-" * w for w in widths))
print((load.strip().splitlines() or ["service load: not measured"])[0])
PY
