#!/usr/bin/env bash
# The site beside the desktop build, in one run: the site's files, then in headless
# Chromium (WebGL on SwiftShader; the page composited in software, and on SwiftShader too)
# at 640x480, 1280x720 and 1920x1080 the bytes and time to the title, the longest frame
# after the start click, the heaviest round's updates and frames per second, and what a
# bare page manages (bench/web/measure_site.mjs); then the desktop's update and whole
# frame of the same round at the same sizes (bench_game_round under its own Xvfb). The round is the
# state the desktop benchmark measures, filled by the test build of the site (built here
# from build-web, beside the shipped one). Each line gives the load average of the
# machine when it was taken: on a busy machine the figures are pessimistic.
# Usage: bench/web/measure_site.sh [SITE_DIR] [DESKTOP_BIN_DIR] [SHOTS_DIR]
# (defaults: build-web/site, build/bin; SHOTS_DIR keeps a screenshot of each measured round)
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
site="$(cd "${1:-$ROOT/build-web/site}" && pwd)"
bin="$(cd "${2:-$ROOT/build/bin}" && pwd)"

echo "site files (bytes; the page fetches the .gz ones where the browser can unpack them):"
for f in index.html page.js vortan.js.gz vortan.wasm.gz vortan.data.gz vortan-hd.data \
    vortan-hd2.data icon.png; do
    printf '  %-16s %9d\n' "$f" "$(stat -c %s "$site/$f")"
done

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
echo "the site in headless Chromium (SwiftShader):"
[ -n "${3:-}" ] && mkdir -p "$3"
node --experimental-websocket "$ROOT/bench/web/measure_site.mjs" "http://127.0.0.1:$port/site/" \
    "http://127.0.0.1:$port/test-site/" "$served/profile" ${3:+"$(realpath -m "$3")"}

if [ -x "$bin/bench_game_round" ]; then
    echo "desktop, heaviest round (bench_game_round, Mesa under Xvfb): one whole frame (an update"
    echo "and its drawing), and what the frame loop makes of it: a frame a pass at most 60 a"
    echo "second, up to four updates a frame at most 60 a second:"
    for size in 640x480 1280x720 1920x1080; do
        (cd "$bin" && VORTAN_BENCH_WINDOW=$size ./bench_game_round --benchmark_filter=BM_RoundFrame \
            2>/dev/null | awk -v size="$size" -v load="$(cut -d' ' -f1 /proc/loadavg)" '/^BM_/ {
                fps = 1e6 / $2; if (fps > 60) fps = 60; ups = 4 * fps; if (ups > 60) ups = 60
                printf "  %-9s  frame %6.1f ms  %5.1f frames/s  %5.1f updates/s  load %s\n",
                    size, $2 / 1000, fps, ups, load }')
    done
fi
