#!/usr/bin/env bash
# Builds the game and starts it. The saved state goes to ./.pellixstate in this folder.
source "$(dirname "$0")/scripts/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build build -DCMAKE_BUILD_TYPE=Release -- vortan vortan_data
cd "$ROOT"
exec "$ROOT/build/bin/vortan"
