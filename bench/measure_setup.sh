# Sourced by the scripts that measure the real game: reads their arguments (the folder of
# the built game, an output folder), starts a private 1920x1080 Xvfb as DISPLAY and writes
# an OpenAL Soft configuration that sends the game's sound to a wave file in the output
# folder. Leaves BIN, OUT, XVFB and ALSOFT_CONF set and the output folder current.
#
#   source bench/measure_setup.sh "$@" <default output folder>
set -u
BIN=$(cd "${1:-build/bin}" && pwd)
OUT=$(mkdir -p "${2:-$3}" && cd "${2:-$3}" && pwd)
rm -f "$OUT"/.pellixstate

exec 3< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
XVFB=$!
read -r DISPLAY_NUMBER <&3
export DISPLAY=:$DISPLAY_NUMBER
printf '[general]\ndrivers = wave\n[wave]\nfile = %s/mix.wav\n' "$OUT" > "$OUT/alsoft.conf"
export ALSOFT_CONF="$OUT/alsoft.conf"
cd "$OUT"
