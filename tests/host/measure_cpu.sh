#!/bin/sh
# Processor time of host_test_app on a private X server: 10 s running at 60 updates per
# second, then 10 s suspended (the focus moved to the root window).
# Usage: tests/host/measure_cpu.sh [bin folder]   (default: build/bin)
set -eu
BIN=${1:-build/bin}
FDFILE=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$FDFILE" >/dev/null 2>&1 &
XVFB=$!
trap 'kill $APP $XVFB 2>/dev/null; rm -f "$FDFILE"' EXIT
while [ ! -s "$FDFILE" ]; do sleep 0.1; done
export DISPLAY=:$(cat "$FDFILE") ALSOFT_DRIVERS=null
"$BIN/host_test_app" >/dev/null &
APP=$!
sleep 2
HZ=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "$1"; }
percent() { echo "$(( $1 * 1000 / HZ )) ms = $(( $1 * 100 / HZ / 10 )).$(( $1 * 1000 / HZ / 10 % 10 ))%"; }
# The whole process, and its main thread alone (the frame loop; the other threads are
# the GL driver's and the audio library's).
measure() {
    p0=$(ticks /proc/$APP/stat); m0=$(ticks /proc/$APP/task/$APP/stat)
    sleep 10
    p1=$(ticks /proc/$APP/stat); m1=$(ticks /proc/$APP/task/$APP/stat)
    echo "$1, processor time over 10 s: process $(percent $((p1 - p0))) of one core," \
         "main thread $(percent $((m1 - m0)))"
}
measure "running at 60 updates/s"
xdotool windowfocus "$(xwininfo -root | awk '/Window id/ {print $4}')"
sleep 1
measure "suspended"
