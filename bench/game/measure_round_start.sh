#!/usr/bin/env bash
# Times the real game's updates as a round starts from the title menu (Return held) under a
# private Xvfb: uprobes on QvGame::UpdateGame (a whole dispatched update: the tune fed,
# p_OnUpdate, the collector step) and on c_MyApp::p_LoadGame (the round's set-up), recorded
# with perf. Reports the set-up update and the longest update of the two seconds from it.
#
#   bench/game/measure_round_start.sh [build/bin] [output folder]
#
# Needs Xvfb, xdotool and perf (linux-perf), as root for the uprobes. Sound goes to OpenAL
# Soft's wave writer in the output folder.
source "$(dirname "${BASH_SOURCE[0]}")/../measure_setup.sh" "${1:-}" "${2:-}" /tmp/vortan_round_start
GAMEBIN=$BIN/vortan
UPD=0x$(nm "$GAMEBIN" | awk '$3=="_ZN6QvGame10UpdateGameEv"{print $1}')
LG=0x$(nm "$GAMEBIN" | awk '$3=="_ZN7c_MyApp10p_LoadGameEv"{print $1}')
"$GAMEBIN" > "$OUT/console.txt" 2>&1 &
GAME=$!
sleep 8
EVENTS=/sys/kernel/tracing/uprobe_events
printf 'p:vortan_round/upd %s:%s\nr:vortan_round/updret %s:%s\np:vortan_round/loadgame %s:%s\n' \
    "$GAMEBIN" "$UPD" "$GAMEBIN" "$UPD" "$GAMEBIN" "$LG" >> $EVENTS
perf record -q -e vortan_round:upd -e vortan_round:updret -e vortan_round:loadgame -p $GAME -o "$OUT/perf.data" 2>/dev/null &
PERF=$!
sleep 1
WINDOW=$(xdotool search --name "Vortan Rally Run" | head -n 1)
xdotool windowfocus "$WINDOW"
xdotool keydown --window "$WINDOW" Return
sleep 0.5
xdotool keyup --window "$WINDOW" Return
sleep 3
kill -INT $PERF; wait $PERF 2>/dev/null
printf -- '-:vortan_round/upd\n-:vortan_round/updret\n-:vortan_round/loadgame\n' >> $EVENTS
xdotool key --window "$WINDOW" F4
sleep 1
kill "$GAME" 2>/dev/null; wait "$GAME" 2>/dev/null
kill "$XVFB" 2>/dev/null
# Each update's time from entry to return; the set-up is the update p_LoadGame ran in.
perf script -i "$OUT/perf.data" -F time,event 2>/dev/null | awk '
    {t = $1 + 0; e = $2}
    e ~ /vortan_round:upd:/ {start = t; next}
    e ~ /vortan_round:loadgame/ {setup = start; next}
    e ~ /vortan_round:updret/ && start > 0 {
        d = (t - start) * 1000; n++; all = all > d ? all : d
        if (setup > 0 && start == setup) first = d
        if (setup > 0 && start >= setup && start < setup + 2) {m++; worst = worst > d ? worst : d}
        start = 0 }
    END {printf "updates traced %d, longest %.2f ms; round set-up update %.2f ms; longest of the %d updates from the set-up on (2 s) %.2f ms\n", n, all, first, m, worst}'
