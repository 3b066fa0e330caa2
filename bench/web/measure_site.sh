#!/usr/bin/env bash
# The site beside the desktop build, in one run: transfer sizes (raw and gzip), time to the
# title and the heaviest round in headless Chromium, and the desktop's whole frame of the
# heaviest round from bench_game_round (under its own Xvfb). The round is the same state
# the desktop benchmark measures, filled by the test build of the site (built here from
# build-web, beside the shipped one).
# Usage: bench/web/measure_site.sh [SITE_DIR] [DESKTOP_BIN_DIR] [ROUND.png]
# (defaults: build-web/site, build/bin; ROUND.png keeps a screenshot of the measured round)
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
site="$(cd "${1:-$ROOT/build-web/site}" && pwd)"
bin="$(cd "${2:-$ROOT/build/bin}" && pwd)"

echo "transfer sizes (bytes, raw / gzip -9):"
total_raw=0 total_gzip=0
for f in index.html page.js vortan.js vortan.wasm vortan.data icon.png; do
    raw=$(stat -c %s "$site/$f")
    gz=$(gzip -9 -c "$site/$f" | wc -c)
    total_raw=$((total_raw + raw)) total_gzip=$((total_gzip + gz))
    printf '  %-12s %9d / %9d\n' "$f" "$raw" "$gz"
done
printf '  %-12s %9d / %9d\n' total "$total_raw" "$total_gzip"

# One server for both: the shipped site and the test build's.
served="$(mktemp -d)"
ln -s "$site" "$served/site"
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
web_test_site "$served/test-site" >/dev/null
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$served" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true; rm -rf "$served"' EXIT
sleep 1
node --experimental-websocket "$ROOT/bench/web/measure_site.mjs" "http://127.0.0.1:$port/site/" \
    "http://127.0.0.1:$port/test-site/" "$served/profile" ${3:+"$(realpath -m "$3")"}

if [ -x "$bin/bench_game_round" ]; then
    echo "desktop, heaviest round (bench_game_round, one update and one whole frame):"
    (cd "$bin" && ./bench_game_round --benchmark_filter='BM_RoundUpdate|BM_RoundFrame' 2>/dev/null | grep BM_)
fi
