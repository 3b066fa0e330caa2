# Shared by play.sh and test.sh: installs missing Debian packages, configures and builds.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc)"

# Installs the named Debian packages that are not installed yet (apt-get update only then).
ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

BUILD_PACKAGES=(build-essential cmake pkg-config libglfw3-dev libstb-dev libopenal-dev
                libgl1-mesa-dev libgl1-mesa-dri libx11-dev libxfixes-dev libgtest-dev googletest libbenchmark-dev)
# The browser build (scripts/build_web.sh) and its test in a headless browser.
WEB_BUILD_PACKAGES=(cmake emscripten nodejs libstb-dev googletest)
WEB_TEST_PACKAGES=(chromium)

# configure_and_build DIR [cmake args...] -- [targets...]
configure_and_build() {
    local dir="$1"; shift
    local args=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    targets=("$@")
    cmake -S "$ROOT" -B "$ROOT/$dir" "${args[@]}" > "$ROOT/$dir.configure.log" 2>&1 \
        || { cat "$ROOT/$dir.configure.log"; return 1; }
    if [ ${#targets[@]} -gt 0 ]; then
        cmake --build "$ROOT/$dir" -j "$JOBS" --target "${targets[@]}"
    else
        cmake --build "$ROOT/$dir" -j "$JOBS"
    fi
}

# web_test_site DIR: the browser build's test game (tests/web/test_site_hooks.cpp) served as
# the site's page, in DIR; the site must be built in build-web first.
web_test_site() {
    cmake --build "$ROOT/build-web" -j "$JOBS" --target vortan_test_site
    mkdir -p "$1"
    cp "$ROOT"/build-web/site/{index.html,page.js,touch_controls.js,icon.png} "$1"/
    cp "$ROOT"/build-web/bin/vortan_test_site.{wasm,data} "$1"/
    cp "$ROOT"/build-web/bin/vortan_test_site.js "$1"/vortan.js
}
