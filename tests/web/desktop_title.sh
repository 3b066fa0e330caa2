#!/usr/bin/env bash
# The desktop build's title menu in a 640x480 window under a private Xvfb, as a PNG.
# Usage: tests/web/desktop_title.sh BIN_DIR OUT.png
set -euo pipefail
bin="$(cd "$1" && pwd)"
out="$(realpath -m "$2")"
work="$(mktemp -d)"
display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $game $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
game=""
sleep 1
printf 'drivers=null\n' > "$work/alsoft.conf"
(cd "$work" && DISPLAY="$display" ALSOFT_CONF="$work/alsoft.conf" exec "$bin/vortan" >"$work/console.txt" 2>&1) &
game=$!
sleep 6  # the staged loader, then the title menu
DISPLAY="$display" import -window root "$out"
