#!/usr/bin/env bash
# Builds the game for a web browser: scripts/build_web.sh [OUTDIR] (default build-web/site/)
# leaves index.html and the files it loads (JS, wasm, the data package, the icon) in OUTDIR,
# plain static files for any web server. The build folder is build-web/.
source "$(dirname "$0")/common.sh"
ensure_packages "${WEB_BUILD_PACKAGES[@]}"
out="$(realpath -m "${1:-$ROOT/build-web/site}")"
# Debian's emscripten runs its JS tools with the system's node modules.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
configure_and_build build-web -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=node -- vortan
mkdir -p "$out"
cp "$ROOT"/build-web/bin/vortan.{js,wasm,data} "$ROOT"/web/index.html "$ROOT"/web/page.js \
    "$ROOT"/web/touch_controls.js "$out"/
cp "$ROOT"/packaging/icons/hicolor/64x64/apps/vortan.png "$out"/icon.png
echo "Site built in $out"
