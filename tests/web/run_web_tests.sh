#!/usr/bin/env bash
# The browser build's tests: the site built, the unit tests under node, then the site
# served on 127.0.0.1 and played in a headless Chromium against the desktop build's title.
# Usage: tests/web/run_web_tests.sh DESKTOP_BIN_DIR
source "$(dirname "$0")/../../scripts/common.sh"
ensure_packages "${WEB_BUILD_PACKAGES[@]}" "${WEB_TEST_PACKAGES[@]}" xvfb xauth imagemagick python3
desktop_bin="$(cd "$1" && pwd)"
# Debian's emscripten runs its JS tools with the system's node modules.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
out="$ROOT/build-web/test-output"
rm -rf "$out" && mkdir -p "$out"
"$ROOT/scripts/build_web.sh" "$ROOT/build-web/site"
cmake --build "$ROOT/build-web" -j "$JOBS" --target vortan_node_tests

echo "-- unit tests under node"
# Left to the desktop build, by name:
left=(
    # they start threads
    '*Locale*' '*Thread*'
    # it kills a child process part way through a save
    ControlsBlockTest.AKilledSaveLeavesTheOldStateAndTheNextSaveTheNew
    # death tests (the program quits), which node cannot run
    MenuTest.BackOnThePlainTitleAsksQuitAndOnlyYesEndsTheProgram
    UpdateTest.F4AndTheCloseKeyEndTheProgramQuietly
    # they need a sound device: node has none, so no buffer fills and no channel plays
    RoundTest.BlowsSoundAndThrowSparksInTheVictimsColour
    AssetsTest.SoundFileNamesHaveThreeDigits
    SoundTest.EffectsRotateOver24ChannelsStartingAt1
    SoundTest.ChannelMapRedirectsChannels
    UpdateTest.PausedRoundDoesNotAdvanceAndItsMusicFollowsThePause
)
filter="-$(IFS=:; echo "${left[*]}")"
cd "$ROOT/build-web/bin"
for t in node_runtime_tests node_logic_tests node_game_tests; do
    node --no-experimental-fetch "$t.js" --gtest_brief=1 --gtest_filter="$filter"
done

echo "-- the site in headless Chromium"
"$ROOT/tests/web/desktop_title.sh" "$desktop_bin" "$out/desktop_title.png"
port=$((20000 + RANDOM % 20000))
servers=()
trap 'kill "${servers[@]}" 2>/dev/null || true' EXIT
# serve PORT FOLDER LOG: a static server on 127.0.0.1, stopped when the stage ends.
serve() {
    python3 -m http.server "$1" --bind 127.0.0.1 --directory "$2" >"$3" 2>&1 &
    servers+=($!)
    sleep 1
}
serve "$port" "$ROOT/build-web/site" "$out/server.log"
node --experimental-websocket "$ROOT/tests/web/browser_test.mjs" "http://127.0.0.1:$port/" \
    "$out/profile" "$out/desktop_title.png" "$out"

echo "-- the test build: the check-in through the browser's fetch, a runtime error, touch play"
# The test build (check-in on, a runtime error on request), served by a second static
# server that also answers the check-in (same origin, so the page may read the reply) and
# logs its query.
probe="$out/test-site"
web_test_site "$probe"
echo "welcome" > "$probe/housecall.php"
serve "$((port + 1))" "$probe" "$out/check-in-server.log"
node --experimental-websocket "$ROOT/tests/web/test_site_test.mjs" "http://127.0.0.1:$((port + 1))/" \
    "http://127.0.0.1:$((port + 1))/housecall.php" "$out/check-in-server.log" "$out/profile-test-site"
node --experimental-websocket "$ROOT/tests/web/touch_test.mjs" "http://127.0.0.1:$((port + 1))/" "$out" \
    "$out/profile-touch"
