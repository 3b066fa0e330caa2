#!/usr/bin/env bash
# Measures the real game under a private Xvfb, as a player meets it: draw calls and X
# round trips per frame at the title menu (through the preloaded frame counter), and the
# resident memory at the title menu at 640x480 (with where it lies), at 1280x720, and after
# switching between the two sizes three times.
#
#   bench/graphics/measure_game.sh [build/bin] [output folder]
#
# Needs Xvfb and xdotool. Sound goes to OpenAL Soft's wave writer in the output folder.
source "$(dirname "${BASH_SOURCE[0]}")/../measure_setup.sh" "${1:-}" "${2:-}" /tmp/vortan_measure
rm -f "$OUT"/frames.txt
FRAME_COUNTER_FILE="$OUT/frames.txt" \
    LD_PRELOAD="$BIN/libvortan_frame_counter.so" "$BIN/vortan" > "$OUT/console.txt" 2>&1 &
GAME=$!

memory() {
    awk '/VmHWM|VmRSS/ {printf "%s %d MB  ", $1, $2 / 1024}' "/proc/$GAME/status"
}
# Resident memory by where it lies: the LLVM library, the Mesa driver, the other shared
# libraries, and the heap with the anonymous mappings (pictures, textures, driver and audio
# working memory, the collector's objects).
by_mapping() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / {name = $6} /^Rss:/ {
            if (name ~ /LLVM/) k = "LLVM"; else if (name ~ /dri|gallium/) k = "Mesa driver";
            else if (name ~ /\.so/) k = "other libraries"; else k = "heap and anonymous";
            kb[k] += $2 }
         END {for (k in kb) printf "%s %.1f MB  ", k, kb[k] / 1024}' "/proc/$GAME/smaps"
}
# Median draw calls and round trips of the last 120 frames.
per_frame() {
    tail -n 120 "$OUT/frames.txt" | sort -n -k2 | awk '{d[NR] = $2} END {printf "draw calls %d  ", d[int(NR / 2) + 1]}'
    tail -n 120 "$OUT/frames.txt" | sort -n -k3 | awk '{r[NR] = $3} END {printf "round trips %d", r[int(NR / 2) + 1]}'
}
resize() {
    xdotool windowsize "$WINDOW" "$1" "$2"
    sleep "$3"
}

sleep 8
WINDOW=$(xdotool search --name "Vortan Rally Run" | head -n 1)
echo "title menu 640x480:  $(memory)  $(per_frame)"
echo "  by mapping: $(by_mapping)"
resize 1280 720 6
echo "title menu 1280x720: $(memory)  $(per_frame)"
for switch in 1 2 3; do
    resize 640 480 5
    resize 1280 720 5
done
echo "after 3 switches:    $(memory)"

xdotool key --window "$WINDOW" F4
sleep 1
kill "$GAME" 2>/dev/null
wait "$GAME" 2>/dev/null
kill "$XVFB" 2>/dev/null
