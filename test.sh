#!/usr/bin/env bash
# Checks the layout of the sources, then builds everything and runs every test: a plain
# build and its Debian package, an AddressSanitizer + UndefinedBehaviorSanitizer build, a
# ThreadSanitizer build of the threaded tests, and the fuzz targets for a fixed number of
# inputs.
source "$(dirname "$0")/scripts/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool x11-utils imagemagick sox \
    python3 python3-pil vorbis-tools fonts-dejavu-core clang libclang-rt-14-dev \
    dpkg-dev desktop-file-utils appstream groff-base clang-format-14
cd "$ROOT"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp"
# stage NAME: announces a stage with the time the run has taken so far.
stage() { echo "== $1 (at $((SECONDS / 60)) min $((SECONDS % 60)) s)"; }
# Most tests wait on real time (a game on screen, a recording), leaving the processor idle:
# the next stage's build runs behind them at the lowest priority, so it takes the processor
# only while they wait. behind LOG COMMAND...: starts one; ahead LOG: waits for it.
behind() {
    local log=$1
    shift
    (renice -n 19 -p "$BASHPID" >/dev/null; "$@") >"$log" 2>&1 &
    behind_pid=$!
}
ahead() {
    wait "$behind_pid" || { cat "$1"; echo "The build behind the tests failed (above)."; return 1; }
}
thread_and_fuzz_builds() {
    configure_and_build build-tsan -DCMAKE_BUILD_TYPE=Debug -DVORTAN_SANITIZE=thread -- vortan_tsan_tests
    # Optimised (assertions kept), so that the runs reach deep into each reader in their time.
    CC=clang CXX=clang++ configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g" \
        -DVORTAN_FUZZ=ON -- vortan_fuzzers
}
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT

stage "source layout"
scripts/check_format.sh

stage "plain build"
configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The heavy-fight mix records four minutes in real time on little processor time: it runs
# beside the other tests and the web stage rather than holding one of the tests' slots.
(cd build/bin && timeout 360 ./heavy_fight_mix_test > ../heavy-mix.log 2>&1) &
heavy_mix=$!
behind build-asan.build.log configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug \
    -DVORTAN_SANITIZE=address -DVORTAN_BENCH=OFF
# Only the whole-program tests, which play against the clock, get a second try.
(cd build && ctest --output-on-failure -j "$JOBS" --timeout 300 -LE "heavy-mix|realtime" &&
    ctest --output-on-failure -j "$JOBS" --timeout 300 -L realtime --repeat until-pass:2)

stage "web build (the site, its unit tests under node, the site in headless Chromium)"
tests/web/run_web_tests.sh build/bin
echo "-- the heavy-fight mix (recorded since the plain tests began)"
wait "$heavy_mix" || { cat build/heavy-mix.log; exit 1; }
tail -n 3 build/heavy-mix.log

stage "Debian package (built, checked, installed, run and removed)"
scripts/check_package.sh build

stage "address and undefined-behaviour sanitizers"
ahead build-asan.build.log
behind build-tsan-fuzz.build.log thread_and_fuzz_builds
(cd build-asan && ctest --output-on-failure -j "$JOBS" --timeout 600 -LE "no-asan|realtime" &&
    ctest --output-on-failure -j "$JOBS" --timeout 600 -L realtime -LE no-asan --repeat until-pass:2)

stage "thread sanitizer (threaded tests)"
ahead build-tsan-fuzz.build.log
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure -j "$JOBS" --timeout 600 -L tsan)

stage "fuzz targets"
for f in build-fuzz/bin/fuzz_*; do
    [ -x "$f" ] || continue
    echo "-- $f"
    if [ "$f" = build-fuzz/bin/fuzz_ogg ]; then
        scripts/fuzz_ogg.sh build-fuzz 10000 2>&1 | tail -n 3  # from a seed: fewer, deeper runs
    else
        "$f" -runs=50000 -seed=1 -max_len=4096 2>&1 | tail -n 3
    fi
done
echo "All test stages passed in $((SECONDS / 60)) min $((SECONDS % 60)) s."
