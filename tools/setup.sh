#!/bin/sh
# Installs what the build and the tests need on Debian 12, and only what is missing.
set -eu

packages="cmake ninja-build make g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32
binutils-mingw-w64-i686 googletest clang lld wine wine32:i386 libgl1-mesa-dri:i386
libgl1:i386 libgl1-mesa-dri fonts-wine xvfb xauth imagemagick x11-utils zip unzip git"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" = 0 ] || sudo="sudo"
echo "installing:$missing"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends $missing
