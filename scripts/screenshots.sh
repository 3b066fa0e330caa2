#!/usr/bin/env bash
# Retakes the screenshots in docs/screenshots from a built game under private X servers:
# the 640x480 window's gallery (four friends on pretend pads among them), and every screen full screen on a 1920x1080 and on a
# 1080x1920 desktop (docs/screenshots/<size>/). The whole-program tests that walk the
# screens keep their captures when VORTAN_SCREENSHOT_DIR names a folder.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
shots="$root/docs/screenshots"
cd "$build/bin"
VORTAN_SCREENSHOT_DIR="$shots" ./game_program_tests \
    --gtest_filter='FrontEndProgramTest.MenuRoundPauseQuitOptionsAndRestart:PadProgramTest.FourFriends*'
for size in 1920x1080 1080x1920; do
    mkdir -p "$shots/$size"
    VORTAN_SCREENSHOT_DIR="$shots/$size" ./game_program_tests --gtest_filter="Desktops/ScreensProgramTest.*/$size"
done
