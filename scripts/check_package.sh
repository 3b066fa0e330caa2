#!/usr/bin/env bash
# Builds the Debian package in a built folder and checks it: it holds exactly what
# `cmake --install` installs, under /usr, and declares the libraries the game needs.
# As root it then installs the package for real, runs the install tests on /usr, removes
# it and checks that none of its files is left.
# Usage: scripts/check_package.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
scratch="$(mktemp -d)"
installed=no

cleanup() {
    if [ "$installed" = yes ]; then
        apt-get purge -y -qq -o DPkg::Lock::Timeout=120 vortan > /dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "package check: $*" >&2
    exit 1
}

rm -f "$build"/vortan_*.deb
(cd "$build" && cpack -G DEB > "$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb="$(echo "$build"/vortan_*_*.deb)"
[ -f "$deb" ] || fail "no package was made"
echo "-- $(basename "$deb")"

# Contents: the same files and links as an installation into /usr.
cmake --install "$build" --prefix "$scratch/usr" > /dev/null
(cd "$scratch" && find usr ! -type d | sort) > "$scratch/expected"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort > "$scratch/packaged"
diff -u "$scratch/expected" "$scratch/packaged" || fail "the package's files differ from an installation"
[ "$(dpkg-deb -c "$deb" | grep -F ' ./usr/bin/vortan -> ' | sed 's/.* -> //')" = "../lib/vortan/vortan" ] \
    || fail "usr/bin/vortan is not a relative link to the game"

# Dependencies: GLFW 3, OpenAL, GL and Mesa's GLX and DRI drivers.
depends="$(dpkg-deb -f "$deb" Depends)"
echo "-- Depends: $depends"
names=" $(sed -E 's/ \([^)]*\)//g; s/[,|]/ /g' <<< "$depends") "
for lib in libglfw3 libopenal1 libgl1 libopengl0 libglx-mesa0 libgl1-mesa-dri libc6 libstdc++6; do
    [[ "$names" == *" $lib "* ]] || fail "$lib is not among the dependencies"
done

if [ "$(id -u)" != 0 ]; then
    echo "-- not root: the package is not installed for real"
    exit 0
fi
dpkg-query -W -f='${Status}' vortan 2> /dev/null | grep -q "install ok installed" \
    && fail "a vortan package is installed already; remove it first"
installed=yes
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq -o DPkg::Lock::Timeout=120 "$deb" > "$scratch/apt.log" 2>&1 \
    || { cat "$scratch/apt.log"; fail "the package does not install"; }
[ "$(readlink -f /usr/bin/vortan)" = /usr/lib/vortan/vortan ] || fail "/usr/bin/vortan does not lead to the game"
VORTAN_INSTALLED_PREFIX=/usr "$build/bin/install_tests" --gtest_brief=1

apt-get purge -y -qq -o DPkg::Lock::Timeout=120 vortan > /dev/null
installed=no
! dpkg-query -W -f='${Status}' vortan 2> /dev/null | grep -q "install ok installed" || fail "vortan is still installed"
left=""
while read -r f; do
    if [ -e "/$f" ] || [ -L "/$f" ]; then left="$left /$f"; fi
done < "$scratch/packaged"
[ -z "$left" ] || fail "left after removal:$left"
[ ! -e /usr/lib/vortan ] || fail "/usr/lib/vortan is left after removal"
echo "-- installed, ran from /usr/bin/vortan, removed without a trace"
